#pragma once
// Small helpers the pages of the settings dialog share.

#include <QImage>
#include <QString>

class QListWidget;
class QToolButton;
class QWidget;

namespace tunevox::setup {

// A list just tall enough for `rows` entries, so none is cut off and no
// scroll bar appears.
void FitListToRows(QListWidget* list, int rows);

// A checkable button that shows a colour sample: the lamp picture of
// `scheme` ("BT" + scheme + "ON") on a transparent ground. A screen reader
// hears what it colours and the colour: "Text: white".
QToolButton* MakeSchemeButton(const QString& objectName, int scheme, const QString& what, QWidget* parent);

} // namespace tunevox::setup
