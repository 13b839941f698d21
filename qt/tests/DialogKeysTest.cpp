#include "DialogViews.h"
#include "OptionsView.h"

#include <QSignalSpy>
#include <QtTest>

using namespace twinfold;

// The keyboard contract of the dialogs whose Enter and Escape differ from Qt's defaults.
class DialogKeysTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void optionsEscapePressesClearAndEnterPressesNoButton();
    void deleteDialogEnterIsOkAndEscapeCancels();
};

void DialogKeysTest::optionsEscapePressesClearAndEnterPressesNoButton()
{
    OptionsView options;
    options.show();
    QVERIFY(QTest::qWaitForWindowExposed(&options));
    QSignalSpy cleared(options.Clear, &QPushButton::clicked);
    QSignalSpy ok(options.Ok, &QPushButton::clicked);
    options.EditExclude->setFocus();
    QTest::keyClick(options.EditExclude, Qt::Key_Escape);
    QCOMPARE(cleared.count(), 1);
    QVERIFY(options.isVisible());
    for (QPushButton* button : {options.AddInclude, options.AddExclude, options.Ok, options.Clear})
        QVERIFY(!button->isDefault() && !button->autoDefault());
    QTest::keyClick(options.EditExclude, Qt::Key_Return);
    QCOMPARE(ok.count(), 0);
    QVERIFY(options.isVisible());
}

void DialogKeysTest::deleteDialogEnterIsOkAndEscapeCancels()
{
    DeleteDialogView dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Delete?"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy ok(dialog.BitBtn2, &QPushButton::clicked);
    QTest::keyClick(dialog.Edit1, Qt::Key_Return);
    QCOMPARE(ok.count(), 1);
    dialog.show();
    QTest::keyClick(dialog.Edit1, Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(DialogKeysTest)
#include "DialogKeysTest.moc"
