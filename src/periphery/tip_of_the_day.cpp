#include "periphery/tip_of_the_day.h"

#include "periphery/light_bulb.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSessionManager>
#include <QStringDecoder>
#include <QVBoxLayout>

#include <algorithm>

namespace tunevox::periphery {

namespace {

constexpr int kTipWidth = 340;  // the tip wraps at this width
constexpr int kTipLines = 5;    // room kept for this many lines of a tip
constexpr qint64 kMaxTipsBytes = 4 << 20;

tRandom SystemRandom() {
    return [](int bound) { return static_cast<int>(QRandomGenerator::global()->bounded(bound)); };
}

QString Decode(const QByteArray& bytes) {
    // Tips are written in UTF-8; a file saved in a Latin-1 code page still
    // reads rather than showing replacement characters.
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

} // namespace

tTipLines ReadTipLines(const QString& fileName) {
    tTipLines result;
    QFile file(fileName);
    if (fileName.isEmpty() || QFileInfo(fileName).isDir() || !file.open(QIODevice::ReadOnly)) return result;
    // A tips file is a few kilobytes; a name that points at a device or a
    // runaway file must not fill the memory.
    const QByteArray bytes = file.read(kMaxTipsBytes);
    if (file.error() != QFileDevice::NoError) return result;
    result.ok = true;
    const QString text = Decode(bytes);
    if (text.isEmpty()) return result;
    static const QRegularExpression kLineEnd("\r\n|\r|\n");
    result.lines = text.split(kLineEnd);
    if (result.lines.last().isEmpty()) result.lines.removeLast();  // the final line ending
    return result;
}

tTipOfTheDayForm::tTipOfTheDayForm(const QString& tipFile, tRandom random, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      tipFile_(tipFile), random_(random ? std::move(random) : SystemRandom()) {
    setObjectName("tTipOfTheDayForm");
    setWindowTitle("Tip of the Day");

    auto* panel = new QWidget(this);
    panel->setObjectName("TipPanel");
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, QColor(0x20, 0x20, 0x20));
    panel->setPalette(white);

    Bulb = new QLabel(panel);
    Bulb->setObjectName("Bulb");
    Bulb->setAccessibleName("Light bulb");
    const qreal dpr = devicePixelRatioF();
    QPixmap bulb = QPixmap::fromImage(LightBulbImage(qRound(48 * dpr), qRound(64 * dpr)));
    bulb.setDevicePixelRatio(dpr);
    Bulb->setPixmap(bulb);
    Bulb->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    DiduKnow = new QLabel("Did you know that...", panel);
    DiduKnow->setObjectName("DiduKnow");
    QFont heading = DiduKnow->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.35);
    DiduKnow->setFont(heading);

    Tip = new QLabel(panel);
    Tip->setObjectName("Tip");
    Tip->setWordWrap(true);
    Tip->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    Tip->setTextFormat(Qt::PlainText);
    Tip->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Tip->setFixedWidth(kTipWidth);

    auto* text = new QVBoxLayout;
    text->setSpacing(10);
    text->addWidget(DiduKnow);
    text->addWidget(Tip, 1);
    auto* inPanel = new QHBoxLayout(panel);
    inPanel->setContentsMargins(16, 16, 20, 16);
    inPanel->setSpacing(16);
    inPanel->addWidget(Bulb, 0, Qt::AlignTop);
    inPanel->addLayout(text, 1);

    ShowTips = new QCheckBox("Show Tips at Startup", this);
    ShowTips->setObjectName("ShowTips");
    NextBtn = new QPushButton("Next Tip", this);
    NextBtn->setObjectName("NextBtn");
    NextBtn->setAutoDefault(false);
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    connect(NextBtn, &QPushButton::clicked, this, [this] { NextBtnClick(); });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ShowTips);
    bottom->addStretch(1);
    bottom->addWidget(NextBtn);
    bottom->addWidget(OKBtn);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->addWidget(panel, 1);
    auto* bottomMargins = new QWidget(this);
    bottom->setContentsMargins(12, 0, 12, 0);
    bottomMargins->setLayout(bottom);
    layout->addWidget(bottomMargins);

    // The session manager asks every program before the desktop ends.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { SessionEnding(); });
}

int tTipOfTheDayForm::Draw(int bound) {
    // A source that strays out of 0..bound-1 must not pick a line that is
    // not there.
    return std::clamp(random_(bound), 0, bound - 1);
}

void tTipOfTheDayForm::FormShow() {
    const tTipLines read = ReadTipLines(tipFile_);
    lines_ = read.lines;
    candidates_.clear();
    // The last line is never drawn, unless it is the only one.
    const int drawable = lines_.size() == 1 ? 1 : int(lines_.size()) - 1;
    for (int i = 0; i < drawable; ++i)
        if (!lines_[i].trimmed().isEmpty()) candidates_.push_back(i);

    if (!read.ok || candidates_.empty()) {
        shown_ = shownCandidate_ = -1;
        DiduKnow->setText("Sorry, no tips avalaible.");
        const QString path = QDir::toNativeSeparators(QFileInfo(tipFile_).absoluteFilePath());
        Tip->setText("The file where the tips are stored (" + path + ") is unreadable or missing");
        NextBtn->setEnabled(false);
        GrowToFit();
        return;
    }
    DiduKnow->setText("Did you know that...");
    NextBtn->setEnabled(candidates_.size() >= 2);
    ShowLine(Draw(int(candidates_.size())));
}

void tTipOfTheDayForm::NextBtnClick() {
    if (candidates_.size() < 2 || shownCandidate_ < 0) return;
    // Draw among the others only, so the shown tip cannot come up and no
    // number of draws is needed to get away from it.
    const int r = Draw(int(candidates_.size()) - 1);
    ShowLine(r < shownCandidate_ ? r : r + 1);
}

void tTipOfTheDayForm::ShowLine(int candidate) {
    shownCandidate_ = candidate;
    shown_ = candidates_[candidate];
    Tip->setText(lines_[shown_].trimmed());
    GrowToFit();
}

void tTipOfTheDayForm::GrowToFit() {
    // The label keeps room for a few lines so that the buttons do not jump
    // about from tip to tip; a longer tip makes it, and the window, taller.
    const int room = Tip->fontMetrics().lineSpacing() * kTipLines;
    Tip->setMinimumHeight(std::max(room, Tip->heightForWidth(kTipWidth)));
    if (!isVisible()) return;
    layout()->activate();
    resize(size().expandedTo(sizeHint()));
}

void tTipOfTheDayForm::SessionEnding() {
    endSession_ = true;
    done(QDialog::Rejected);
}

void tTipOfTheDayForm::done(int result) {
    QDialog::done(result);
    if (!endSession_) return;
    if (onShutdown_) onShutdown_();
    QCoreApplication::exit(0);
}

TTipOfTheDayDlg::TTipOfTheDayDlg(tRandom random) : random_(std::move(random)) {}

int TTipOfTheDayDlg::Execute(QWidget* parent, const std::function<int(QDialog&)>& run) {
    tTipOfTheDayForm form(tipFile_, random_, parent);
    form.SetOnShutdown(onShutdown_);
    form.ShowTips->setChecked(showOnStart_);
    form.FormShow();
    const int result = run ? run(form) : form.exec();
    showOnStart_ = form.ShowTips->isChecked();
    return result;
}

} // namespace tunevox::periphery
