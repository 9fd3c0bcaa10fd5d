#include "support/qt_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QWidget>

#include <memory>

namespace tunevox::test {

namespace {

class QtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    // Destroyed before the program exits, while Qt's own globals still exist.
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "tunevox_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

::testing::Environment* const kQtApp = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

} // namespace

void Screenshot(QWidget& window, const QString& name) {
    const QByteArray env = qgetenv("TUNEVOX_SCREENSHOTS_DIR");
    const QString folder = env.isEmpty() ? QStringLiteral(TUNEVOX_SCREENSHOTS_DIR) : QString::fromLocal8Bit(env);
    QDir().mkpath(folder);
    const bool wasVisible = window.isVisible();
    if (!wasVisible) {
        window.show();
        window.adjustSize();
    }
    QApplication::processEvents();
    EXPECT_TRUE(window.grab().save(folder + "/" + name + ".png")) << name.toStdString();
    if (!wasVisible) window.hide();
}

void ExpectNothingClipped(const QWidget& root, const QString& where) {
    for (const QWidget* w : root.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&root)) continue;
        // The display panel's labels are placed to the pixel on purpose.
        if (w->parentWidget() && w->parentWidget()->objectName() == "Panel") continue;
        const auto* label = qobject_cast<const QLabel*>(w);
        const bool text = (label && !label->wordWrap() && label->pixmap().isNull() && !label->text().isEmpty()) ||
                          qobject_cast<const QAbstractButton*>(w);
        if (!text) continue;
        EXPECT_GE(w->width(), w->sizeHint().width())
            << where.toStdString() << ": " << w->objectName().toStdString() << " " << w->metaObject()->className();
        EXPECT_GE(w->height(), w->sizeHint().height()) << where.toStdString() << ": " << w->objectName().toStdString();
    }
}

} // namespace tunevox::test
