#include "app/window/help_window.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace tunevox::app {

namespace {

// The desktop's icon where its theme has one, else the style's own.
QIcon ThemeIcon(const QWidget& w, const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name), w.style()->standardIcon(fallback, nullptr, &w));
}

QToolButton* ToolButton(QWidget* parent, const char* objectName, const QString& text, const QString& accessible,
                        const QString& tip, const QIcon& icon, Qt::ToolButtonStyle style) {
    auto* b = new QToolButton(parent);
    b->setObjectName(objectName);
    b->setText(text);
    b->setIcon(icon);
    b->setToolButtonStyle(style);
    b->setAutoRaise(true);
    b->setToolTip(tip);
    b->setAccessibleName(accessible);
    return b;
}

// The anchor names a block carries, on the block itself or on its text.
QStringList AnchorNames(const QTextBlock& block, QList<int>* positions) {
    QStringList names;
    auto take = [&](const QTextCharFormat& f, int position) {
        if (!f.isAnchor()) return;
        for (const QString& n : f.anchorNames()) {
            names << n;
            positions->append(position);
        }
    };
    take(block.charFormat(), block.position());
    for (auto it = block.begin(); !it.atEnd(); ++it) take(it.fragment().charFormat(), it.fragment().position());
    return names;
}

} // namespace

THelpWindow::THelpWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("HelpWindow");
    setWindowTitle("Tunevox Help");
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setModal(false);
    setAccessibleName("Tunevox Help");

    contents_ = new QTreeWidget(this);
    contents_->setObjectName("HelpContents");
    contents_->setAccessibleName("Contents");
    contents_->setAccessibleDescription("The topics of the guide; choose one to read it");
    contents_->setHeaderHidden(true);
    contents_->setColumnCount(1);
    contents_->setUniformRowHeights(true);
    contents_->header()->setStretchLastSection(true);
    connect(contents_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { ContentsChosen(item); });
    connect(contents_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { ContentsChosen(item); });

    browser_ = new QTextBrowser(this);
    browser_->setObjectName("HelpBrowser");
    browser_->setAccessibleName("Guide");
    // Links are ours to follow, so that each joins the history; the
    // guide's links to the world go to the desktop's browser.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { FollowLink(url); });
    // A match stays visible while the focus is in the find field.
    QPalette p = browser_->palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    browser_->setPalette(p);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName("HelpSplitter");
    split->setChildrenCollapsible(false);
    split->addWidget(contents_);
    split->addWidget(browser_);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({240, 720});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildToolBar());
    layout->addWidget(split, 1);
    layout->addWidget(BuildFindBar());
    findBar_->hide();

    // The window's keys work wherever the focus is.
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    browser_->viewport()->installEventFilter(this);
    resize(960, 660);
    UpdateHistoryButtons();
}

QWidget* THelpWindow::BuildToolBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName("HelpToolBar");
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 3, 4, 3);
    row->setSpacing(2);
    back_ = ToolButton(bar, "HelpBack", "Back", "Back", "Back to the previous topic (Alt+Left)",
                       ThemeIcon(*this, "go-previous", QStyle::SP_ArrowBack), Qt::ToolButtonTextBesideIcon);
    forward_ = ToolButton(bar, "HelpForward", "Forward", "Forward", "Forward to the next topic (Alt+Right)",
                          ThemeIcon(*this, "go-next", QStyle::SP_ArrowForward), Qt::ToolButtonTextBesideIcon);
    auto* find = ToolButton(bar, "HelpFind", "Find", "Find in the guide", "Find in the guide (Ctrl+F)",
                            QIcon::fromTheme("edit-find"), Qt::ToolButtonTextBesideIcon);
    connect(back_, &QToolButton::clicked, this, [this] { Back(); });
    connect(forward_, &QToolButton::clicked, this, [this] { Forward(); });
    connect(find, &QToolButton::clicked, this, [this] { OpenFind(); });
    row->addWidget(back_);
    row->addWidget(forward_);
    row->addSpacing(12);
    row->addWidget(find);
    row->addStretch(1);
    return bar;
}

QWidget* THelpWindow::BuildFindBar() {
    findBar_ = new QWidget(this);
    findBar_->setObjectName("HelpFindBar");
    auto* row = new QHBoxLayout(findBar_);
    row->setContentsMargins(6, 3, 4, 3);
    row->setSpacing(4);
    auto* caption = new QLabel("Find:", findBar_);
    findField_ = new QLineEdit(findBar_);
    findField_->setObjectName("HelpFindField");
    findField_->setAccessibleName("Find in the guide");
    findField_->setPlaceholderText("Words to find");
    findField_->setMinimumWidth(220);
    caption->setBuddy(findField_);
    auto* previous =
        ToolButton(findBar_, "HelpFindPrevious", "Previous", "Previous match", "Previous match (Shift+F3)",
                   ThemeIcon(*this, "go-up", QStyle::SP_ArrowUp), Qt::ToolButtonTextBesideIcon);
    auto* next = ToolButton(findBar_, "HelpFindNext", "Next", "Next match", "Next match (F3)",
                            ThemeIcon(*this, "go-down", QStyle::SP_ArrowDown), Qt::ToolButtonTextBesideIcon);
    findStatus_ = new QLabel(findBar_);
    findStatus_->setObjectName("HelpFindStatus");
    auto* close = ToolButton(findBar_, "HelpFindClose", "Close", "Close the find bar", "Close the find bar (Escape)",
                             ThemeIcon(*this, "window-close", QStyle::SP_TitleBarCloseButton), Qt::ToolButtonIconOnly);
    // Typing finds from where the match stands, so a longer word stays on it.
    connect(findField_, &QLineEdit::textChanged, this, [this] { Find(false, true); });
    connect(previous, &QToolButton::clicked, this, [this] { Find(true); });
    connect(next, &QToolButton::clicked, this, [this] { Find(false); });
    connect(close, &QToolButton::clicked, this, [this] { CloseFind(); });
    row->addWidget(caption);
    row->addWidget(findField_);
    row->addWidget(previous);
    row->addWidget(next);
    row->addSpacing(6);
    row->addWidget(findStatus_, 1);
    row->addWidget(close);
    ShowFindStatus({});
    return findBar_;
}

// --- the guide ---

bool THelpWindow::ShowTopic(const QString& file, const QString& topic) {
    if (file != file_ && !Load(file)) return false;
    Go(topic);
    return true;
}

QString THelpWindow::CurrentTopic() const { return at_ >= 0 ? history_[at_].topic : QString(); }

bool THelpWindow::Load(const QString& file) {
    history_.clear();
    at_ = -1;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        file_.clear();
        browser_->setHtml(QString("<h2>Help not found</h2><p>The help file <b>%1</b> is missing or "
                                  "unreadable: %2.</p>")
                              .arg(file.toHtmlEscaped(), f.errorString().toHtmlEscaped()));
        BuildContents();
        UpdateHistoryButtons();
        return false;
    }
    browser_->setSearchPaths({QFileInfo(file).absolutePath()});
    browser_->setHtml(QString::fromUtf8(f.readAll()));
    file_ = file;
    BuildContents();
    return true;
}

void THelpWindow::BuildContents() {
    selecting_ = true;
    contents_->clear();
    topics_.clear();
    anchors_.clear();
    std::vector<std::pair<int, QTreeWidgetItem*>> open; // the topics a deeper heading nests in
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
        QList<int> positions;
        const QStringList names = AnchorNames(block, &positions);
        for (qsizetype i = 0; i < names.size(); ++i)
            if (!anchors_.contains(names[i])) anchors_.insert(names[i], positions[i]);
        const int level = block.blockFormat().headingLevel();
        const QString title = block.text().simplified();
        if (level == 0 || names.isEmpty() || title.isEmpty()) continue;
        while (!open.empty() && open.back().first >= level) open.pop_back();
        auto* item = open.empty() ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(open.back().second);
        item->setText(0, title);
        item->setToolTip(0, title);
        item->setData(0, Qt::UserRole, names.first());
        open.emplace_back(level, item);
        topics_.push_back({names.first(), block.position(), item});
    }
    contents_->setVisible(!topics_.empty());
    selecting_ = false;
}

int THelpWindow::AnchorPosition(const QString& anchor) const { return anchors_.value(anchor, -1); }

// --- the history ---

void THelpWindow::Go(const QString& topic) {
    if (at_ >= 0 && history_[at_].topic == topic) {
        // Asked again for the place shown: back to its start.
        history_[at_].scroll = -1;
    } else {
        RememberScroll();
        history_.resize(at_ + 1);
        history_.push_back({topic, -1});
        at_ = static_cast<int>(history_.size()) - 1;
    }
    Show(history_[at_]);
    UpdateHistoryButtons();
}

void THelpWindow::Back() {
    if (at_ <= 0) return;
    RememberScroll();
    --at_;
    Show(history_[at_]);
    UpdateHistoryButtons();
}

void THelpWindow::Forward() {
    if (at_ + 1 >= static_cast<int>(history_.size())) return;
    RememberScroll();
    ++at_;
    Show(history_[at_]);
    UpdateHistoryButtons();
}

void THelpWindow::Show(const tPlace& place) {
    if (place.scroll >= 0) {
        browser_->verticalScrollBar()->setValue(place.scroll);
    } else if (place.topic.isEmpty()) {
        browser_->verticalScrollBar()->setValue(0);
    } else {
        browser_->scrollToAnchor(place.topic);
    }
    SelectTopicAt(place.topic.isEmpty() ? -1 : AnchorPosition(place.topic));
}

void THelpWindow::RememberScroll() {
    if (at_ >= 0) history_[at_].scroll = browser_->verticalScrollBar()->value();
}

void THelpWindow::UpdateHistoryButtons() {
    back_->setEnabled(at_ > 0);
    forward_->setEnabled(at_ + 1 < static_cast<int>(history_.size()));
}

void THelpWindow::FollowLink(const QUrl& url) {
    const QUrl guide = QUrl::fromLocalFile(file_);
    const QUrl target = guide.resolved(url);
    if (!file_.isEmpty() && target.isLocalFile() && QFileInfo(target.toLocalFile()) == QFileInfo(file_)) {
        Go(url.fragment());
    } else {
        QDesktopServices::openUrl(target);
    }
}

void THelpWindow::ContentsChosen(QTreeWidgetItem* item) {
    if (selecting_ || !item) return;
    Go(item->data(0, Qt::UserRole).toString());
}

void THelpWindow::SelectTopicAt(int position) {
    const tTopic* found = nullptr;
    if (position >= 0)
        for (const tTopic& t : topics_) {
            if (t.position > position) break;
            found = &t;
        }
    selecting_ = true;
    if (found) {
        contents_->setCurrentItem(found->item);
        contents_->scrollToItem(found->item);
    } else {
        contents_->setCurrentItem(nullptr);
        contents_->clearSelection();
    }
    selecting_ = false;
}

// --- find ---

void THelpWindow::OpenFind() {
    if (!findBar_->isVisible()) {
        // The text gives up room to the bar as it appears: a match marked
        // near the bottom stays in sight above it.
        findBar_->show();
        if (browser_->textCursor().hasSelection()) browser_->ensureCursorVisible();
    }
    findField_->setFocus(Qt::ShortcutFocusReason);
    findField_->selectAll();
}

void THelpWindow::CloseFind() {
    findBar_->hide();
    ShowFindStatus({});
    browser_->setFocus(Qt::OtherFocusReason);
}

void THelpWindow::Find(bool backward, bool fromSelectionStart) {
    const QString text = findField_->text();
    QTextCursor from = browser_->textCursor();
    if (text.isEmpty()) {
        from.clearSelection();
        browser_->setTextCursor(from);
        ShowFindStatus({});
        return;
    }
    // Scrolled away from the last match: search from what is being read.
    const QRect seen = browser_->viewport()->rect();
    if (browser_->isVisible() && !seen.intersects(browser_->cursorRect(from))) {
        from = browser_->cursorForPosition(seen.topLeft());
    } else if (fromSelectionStart) {
        from.setPosition(from.selectionStart());
    }
    QTextDocument* doc = browser_->document();
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor found = doc->find(text, from, flags);
    QString status;
    if (found.isNull()) {
        QTextCursor edge(doc);
        if (backward) edge.movePosition(QTextCursor::End);
        found = doc->find(text, edge, flags);
        if (!found.isNull()) status = backward ? "Continued from the end" : "Continued from the start";
    }
    if (found.isNull()) {
        from.clearSelection();
        browser_->setTextCursor(from);
        ShowFindStatus("Not found");
        return;
    }
    browser_->setTextCursor(found);
    browser_->ensureCursorVisible();
    SelectTopicAt(found.selectionStart());
    ShowFindStatus(status);
}

void THelpWindow::ShowFindStatus(const QString& text) {
    findStatus_->setText(text);
    // A screen reader reads what the line says, or that it says nothing.
    findStatus_->setAccessibleName(text.isEmpty() ? QString("Find result") : text);
}

// --- keys ---

bool THelpWindow::HandleKey(QObject* watched, QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const int k = key->key();
    const bool shift = mods == Qt::ShiftModifier;
    const bool plain = mods == Qt::NoModifier;
    if (key->matches(QKeySequence::Find)) {
        OpenFind();
        return true;
    }
    if (k == Qt::Key_F3 && (plain || shift)) {
        if (!findBar_->isVisible() || findField_->text().isEmpty()) OpenFind();
        if (!findField_->text().isEmpty()) Find(shift);
        return true;
    }
    if (watched == findField_ && (k == Qt::Key_Return || k == Qt::Key_Enter) && (plain || shift)) {
        Find(shift);
        return true;
    }
    if (k == Qt::Key_Escape && plain && findBar_->isVisible()) {
        CloseFind();
        return true;
    }
    const bool alt = mods == Qt::AltModifier;
    // Backspace goes back, except where it deletes a character.
    if ((alt && k == Qt::Key_Left) || k == Qt::Key_Back || (plain && k == Qt::Key_Backspace && watched != findField_)) {
        Back();
        return true;
    }
    if ((alt && k == Qt::Key_Right) || k == Qt::Key_Forward) {
        Forward();
        return true;
    }
    return false;
}

bool THelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && HandleKey(watched, static_cast<QKeyEvent*>(event))) return true;
    // A mouse's own back and forward buttons, over the text.
    if (event->type() == QEvent::MouseButtonPress && watched == browser_->viewport()) {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::BackButton || button == Qt::ForwardButton) {
            button == Qt::BackButton ? Back() : Forward();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void THelpWindow::keyPressEvent(QKeyEvent* event) {
    if (!HandleKey(this, event)) QDialog::keyPressEvent(event);
}

} // namespace tunevox::app
