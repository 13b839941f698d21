#include "QtServices.h"
#include "InputDialog.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace twinfold;

namespace
{

class ModelWindow : public Window
{
public:
    ModelWindow() : Window("TLogFilebx") {}
};

} // namespace

class QtServicesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messageFormsHaveTheirCaptionsSymbolsAndButtons_data();
    void messageFormsHaveTheirCaptionsSymbolsAndButtons();
    void inputBoxKeepsOneLineOf255AndCancelsOnEscape();
    void saveDialogTakesTheFirstFilterAndAddsTheDefaultExtension();
    void showModalEndsWhenTheModelCloses();
};

void QtServicesTest::messageFormsHaveTheirCaptionsSymbolsAndButtons_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("answer");
    using F = MessageForm;
    QTest::newRow("plain") << int(F::Plain) << ApplicationTitle << int(QMessageBox::NoIcon) << "OK"
                           << int(Answer::Ok);
    QTest::newRow("confirm yes") << int(F::Confirmation) << "Confirm" << int(QMessageBox::Question)
                                 << "&Yes" << int(Answer::Yes);
    QTest::newRow("confirm no") << int(F::Confirmation) << "Confirm" << int(QMessageBox::Question)
                                << "&No" << int(Answer::No);
    QTest::newRow("information") << int(F::Information) << "Information"
                                 << int(QMessageBox::Information) << "OK" << int(Answer::Ok);
    QTest::newRow("warning") << int(F::Warning) << "Warning" << int(QMessageBox::Warning) << "&No"
                             << int(Answer::No);
    QTest::newRow("error") << int(F::Error) << ApplicationTitle << int(QMessageBox::Critical)
                           << "OK" << int(Answer::Ok);
}

void QtServicesTest::messageFormsHaveTheirCaptionsSymbolsAndButtons()
{
    QFETCH(int, form);
    QFETCH(QString, caption);
    QFETCH(int, icon);
    QFETCH(QString, press);
    QFETCH(int, answer);

    ModelWindow model;
    QWidget owner;
    owner.show();
    QtServices services;
    services.registerView(model, &owner);
    QString seenCaption;
    QStringList seenButtons;
    int seenIcon = -1;
    bool ownedAndModal = false;
    services.dialogHook = [&](QDialog& dialog) {
        auto& box = static_cast<QMessageBox&>(dialog);
        seenCaption = box.windowTitle();
        seenIcon = box.icon();
        ownedAndModal = box.parentWidget() == &owner && box.isModal();
        for (QAbstractButton* button : box.buttons()) {
            seenButtons << button->text();
            if (button->text() == press)
                button->click();
        }
    };
    const Answer got = services.messageBox(&model, MessageForm(form), caption.toStdString(), "?");
    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenIcon, icon);
    QVERIFY(ownedAndModal);
    QVERIFY(seenButtons.contains(press));
    QCOMPARE(seenButtons.size(), press == "OK" ? 1 : 2);
    QCOMPARE(int(got), answer);
}

void QtServicesTest::inputBoxKeepsOneLineOf255AndCancelsOnEscape()
{
    QtServices services;
    bool selected = false;
    services.dialogHook = [&](QDialog& dialog) {
        auto& input = static_cast<InputDialog&>(dialog);
        selected = input.edit->selectedText() == QLatin1String("old.txt");
        QTest::keyClick(input.edit, Qt::Key_End);
        QTest::keyClicks(input.edit, QString(300, QLatin1Char('x')));
        QTest::keyClick(input.edit, Qt::Key_Return);
    };
    const auto text = services.inputBox(nullptr, "Rename File", "Enter New File Name:", "old.txt");
    QVERIFY(selected);
    QVERIFY(text);
    QCOMPARE(text->size(), std::size_t(255));

    services.dialogHook = [](QDialog& dialog) {
        QTest::keyClick(static_cast<InputDialog&>(dialog).edit, Qt::Key_Escape);
    };
    QVERIFY(!services.inputBox(nullptr, "Rename File", "Enter New File Name:", "a"));
}

void QtServicesTest::saveDialogTakesTheFirstFilterAndAddsTheDefaultExtension()
{
    QTemporaryDir dir;
    QtServices services;
    FileDialogOptions options;
    options.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
    options.defaultExtension = "txt";
    options.fileName = "TFSuccess";
    options.initialDirectory = dir.path().toStdString();
    QString filter;
    services.dialogHook = [&](QDialog& dialog) {
        auto& files = static_cast<QFileDialog&>(dialog);
        filter = files.selectedNameFilter();
        dialog.accept();
    };
    const auto saved = services.saveFileDialog(nullptr, options);
    QVERIFY(saved);
    QCOMPARE(QString::fromStdString(*saved), dir.filePath("TFSuccess.txt"));
    QCOMPARE(filter, QStringLiteral("Text Files (*.txt)"));
}

void QtServicesTest::showModalEndsWhenTheModelCloses()
{
    ModelWindow model;
    QDialog view;
    QtServices services;
    services.registerView(model, &view);
    services.dialogHook = [&](QDialog&) { model.Close(); };
    services.showModal(model);
    QVERIFY(!model.visible());
    QVERIFY(!view.isVisible());
}

QTEST_MAIN(QtServicesTest)
#include "QtServicesTest.moc"
