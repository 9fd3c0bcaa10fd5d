#pragma once
// "Asking for station name": the name of a favorite, one field of at most
// 40 characters.

#include <QDialog>
#include <QString>

class QLineEdit;

namespace tunevox::app {

class TNameDialog : public QDialog {
    Q_OBJECT
public:
    explicit TNameDialog(const QString& name, QWidget* parent = nullptr);
    QString Name() const;
    QLineEdit* sName = nullptr;
};

} // namespace tunevox::app
