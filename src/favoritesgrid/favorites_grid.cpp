#include "favoritesgrid/favorites_grid.h"

#include "display/pictures.h"
#include "display/spoken_picture.h"
#include "radio/frequency.h"
#include "radioset/configuration.h"
#include "widgets/glyph_button.h"
#include "widgets/interaction.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>

#include <string_view>

namespace tunevox::favoritesgrid {

using radioset::kFavoriteCount;
using widgets::TGlyphButton;

QMimeData* MakeStationMime(const tDraggedStation& station) {
    const std::string text = std::string(station.band == radio::bAM ? "A" : "F") + " " +
                             radio::FrequencyText(station.frequency) + " " + station.name;
    auto* mime = new QMimeData;
    mime->setData(kStationMimeType, QByteArray::fromStdString(text));
    return mime;
}

std::optional<tDraggedStation> ReadStationMime(const QMimeData& mime) {
    if (!mime.hasFormat(kStationMimeType)) return std::nullopt;
    const QByteArray data = mime.data(kStationMimeType);
    const std::string_view text(data.constData(), static_cast<size_t>(data.size()));
    // "F 098.700 Name": the letter and its blank, then the frequency up to
    // the next blank (or the end when a nameless station lost its blank).
    if (text.size() < 3 || text[1] != ' ') return std::nullopt;
    tDraggedStation station;
    if (text[0] == 'F') station.band = radio::bFM;
    else if (text[0] == 'A') station.band = radio::bAM;
    else return std::nullopt;
    const std::string_view rest = text.substr(2);
    const size_t blank = rest.find(' ');
    const std::optional<double> frequency = radio::ParseFrequencyText(rest.substr(0, blank));
    if (!frequency) return std::nullopt;
    station.frequency = *frequency;
    if (blank != std::string_view::npos) station.name = std::string(rest.substr(blank + 1));
    return station;
}

namespace {

QFont ButtonFont() {
    // The main window's favorite buttons use the same 10 px caption.
    QFont f = QApplication::font();
    f.setPixelSize(10);
    return f;
}

QImage ButtonPicture(int scheme, bool on) {
    return display::PictureTransparent("BT" + QString::number(scheme) + (on ? "ON" : "OFF"));
}

} // namespace

TFavoritesGrid::TFavoritesGrid(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    const QFont font = ButtonFont();
    for (int n = 1; n <= kFavoriteCount; ++n) {
        const QString caption = QString::fromStdString(radioset::TwoDigit(n));
        auto* b = new TGlyphButton(caption, this);
        b->setObjectName("btRadio" + caption);
        b->SetGlyphOnTop(true);
        b->setFont(font);
        b->setGeometry(((n - 1) % kColumns) * kButtonWidth, ((n - 1) / kColumns) * kButtonHeight, kButtonWidth,
                       kButtonHeight);
        b->setAcceptDrops(true);
        b->installEventFilter(this);
        connect(b, &QAbstractButton::clicked, this, [this, n] { emit clicked(n); });
        connect(b, &TGlyphButton::rightClicked, this, [this, n](QPoint at) { OpenMenu(n, at); });
        buttons_[n - 1] = b;
    }

    menu_ = new QMenu(this);
    menu_->setObjectName("BtMenu");
    iClear_ = menu_->addAction("Clear");
    iClear_->setObjectName("iClear");
    iClear_->setEnabled(false);
    connect(iClear_, &QAction::triggered, this, [this] {
        if (onClear && menuButton_) onClear(menuButton_);
    });
    iClearAll_ = menu_->addAction("Clear all");
    iClearAll_->setObjectName("iClearAll");
    connect(iClearAll_, &QAction::triggered, this, [this] {
        if (onClearAll) onClearAll();
    });

    ShowBank({}, 0, {});
}

void TFavoritesGrid::ShowBank(const radioset::tFavorites& bank, int current, const tButtonColors& colors) {
    for (int n = 1; n <= kFavoriteCount; ++n) {
        const radioset::tFavorite& f = bank[n];
        TGlyphButton* b = buttons_[n - 1];
        used_[n] = f.Used;
        const int scheme = !f.Used ? colors.empty : f.Band == radio::bFM ? colors.fm : colors.am;
        b->SetGlyph(ButtonPicture(scheme, n == current));
        QString hint;
        if (f.Used) {
            hint = QString::fromStdString(radio::FrequencyText(f.Frequency));
            const QString name = QString::fromStdString(f.Name).trimmed();
            if (!name.isEmpty()) hint += " - " + name;
        }
        b->setToolTip(hint);
        NameFavoriteButton(*b, n, f);
        b->SetSwitchOn(n == current);
    }
    // "Clear" follows the bank even while the menu is open on a button.
    if (menuButton_) iClear_->setEnabled(used_[menuButton_]);
}

bool TFavoritesGrid::AcceptsDrop(const tDraggedStation& station, int n) const {
    return n >= 1 && n <= kFavoriteCount && acceptsDrop && acceptsDrop(station, n);
}

bool TFavoritesGrid::Drop(const tDraggedStation& station, int n) {
    if (!AcceptsDrop(station, n)) return false;
    if (onDrop) onDrop(station, n);
    return true;
}

TGlyphButton* TFavoritesGrid::Button(int n) const {
    return n >= 1 && n <= kFavoriteCount ? buttons_[n - 1] : nullptr;
}

QSize TFavoritesGrid::sizeHint() const {
    return {kColumns * kButtonWidth, (kFavoriteCount / kColumns) * kButtonHeight};
}

void TFavoritesGrid::OpenMenu(int n, QPoint globalPos) {
    menuButton_ = n;
    iClear_->setEnabled(used_[n]);
    menu_->popup(globalPos);
}

int TFavoritesGrid::NumberOf(const QObject* button) const {
    for (int n = 1; n <= kFavoriteCount; ++n)
        if (buttons_[n - 1] == button) return n;
    return 0;
}

bool TFavoritesGrid::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::DragLeave && type != QEvent::Drop)
        return QWidget::eventFilter(watched, event);
    const int n = NumberOf(watched);
    if (!n) return QWidget::eventFilter(watched, event);
    TGlyphButton* b = buttons_[n - 1];
    if (type == QEvent::DragLeave) {
        b->SetDown(false);
        return true;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const std::optional<tDraggedStation> station =
        drop->mimeData() ? ReadStationMime(*drop->mimeData()) : std::nullopt;
    const bool accepted = station && AcceptsDrop(*station, n);
    if (!accepted) {
        // Ignored, the drag goes on to the parents, which take no stations,
        // and the desktop shows that nothing can be dropped here.
        b->SetDown(false);
        drop->ignore();
        return true;
    }
    // The station is copied onto the favorite; it stays where it came from.
    if (drop->possibleActions() & Qt::CopyAction) {
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
    } else {
        drop->acceptProposedAction();
    }
    if (type == QEvent::Drop) {
        b->SetDown(false);
        if (onDrop) onDrop(*station, n);
    } else {
        // The button the station would land on looks pressed.
        b->SetDown(true);
    }
    return true;
}

void ShowBankOf(TFavoritesGrid& grid, const radioset::tFavorites& bank, int current,
                const radioset::tConfiguration& config) {
    const bool lit = current >= 1 && current <= radioset::kFavoriteCount && bank[current].Used;
    grid.ShowBank(bank, lit ? current : 0,
                  {config.ColorFavAssButtonFM, config.ColorFavAssButtonAM, config.ColorFavNotAssButton});
}

void NameFavoriteButton(widgets::TGlyphButton& button, int n, const radioset::tFavorite& favorite) {
    if (!favorite.Used) {
        display::SetSpokenName(&button, QString("Favorite %1 (empty)").arg(n));
        display::SetSpokenDescription(&button, QString());
        return;
    }
    const QString frequency = display::SpokenFrequency(favorite.Frequency, favorite.Band == radio::bFM);
    const QString name = QString::fromStdString(favorite.Name).trimmed();
    display::SetSpokenName(&button, QString("Favorite %1: %2").arg(n).arg(name.isEmpty() ? frequency : name));
    display::SetSpokenDescription(&button, frequency);
}

bool AskClearAll(widgets::IInteraction& ui, QWidget* parent) {
    return ui.MessageBox(parent, "Clear all favorites", "Are you sure ?", widgets::tMsgIcon::Stop,
                         widgets::tMsgButtons::YesNo) == widgets::tMsgResult::Yes;
}

} // namespace tunevox::favoritesgrid
