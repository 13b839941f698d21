#include "QtServices.h"
#include "SyncBoxView.h"
#include "WindowPlaces.h"

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
    void boxesComeUpActiveAboveTheProgressWindowAndHandItBack();
    void boxBeforeTheMainWindowWaitsForItAndIsCentredOnIt();
    void windowPlacesComeBackAtTheNextStart();
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
    Qt::WindowFlags frame;
    services.dialogHook = [&](QDialog& dialog) {
        auto& box = static_cast<QMessageBox&>(dialog);
        seenCaption = box.windowTitle();
        frame = box.windowFlags();
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
    QVERIFY(frame.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!frame.testFlag(Qt::WindowMinimizeButtonHint) &&
            !frame.testFlag(Qt::WindowMaximizeButtonHint));
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
        auto* edit = dialog.findChild<QLineEdit*>();
        selected = edit->selectedText() == QLatin1String("old.txt");
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClicks(edit, QString(300, QLatin1Char('x')));
        QTest::keyClick(edit, Qt::Key_Return);
    };
    const auto text = services.inputBox("Rename File", "Enter New File Name:", "old.txt");
    QVERIFY(selected);
    QVERIFY(text);
    QCOMPARE(text->size(), std::size_t(255));

    services.dialogHook = [](QDialog& dialog) {
        QTest::keyClick(dialog.findChild<QLineEdit*>(), Qt::Key_Escape);
    };
    QVERIFY(!services.inputBox("Rename File", "Enter New File Name:", "a"));
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
    const auto saved = services.saveFileDialog(options);
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

void QtServicesTest::boxesComeUpActiveAboveTheProgressWindowAndHandItBack()
{
    ModelWindow logModel;
    QWidget main;
    QDialog logView(&main);
    SyncBoxView progress(&main);
    QtServices services;
    services.setMainView(&main);
    services.registerView(logModel, &logView);
    main.show();
    progress.show();
    progress.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&progress));

    struct Seen {
        bool onTop = false;
        bool active = false;
        bool noMinMax = false;
    };
    const auto look = [](QDialog& dialog) {
        Seen seen;
        seen.onTop = dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        seen.active = QTest::qWaitForWindowActive(&dialog);
        seen.noMinMax = !dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint) &&
                        !dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint);
        return seen;
    };
    // A box of the main window while the run's window is up ("File Sync Successful!"), and a
    // window of the program shown modally meanwhile.
    Seen box;
    services.dialogHook = [&](QDialog& dialog) {
        box = look(dialog);
        dialog.accept();
    };
    services.showMessage(nullptr, "File Sync Successful!");
    QVERIFY(box.onTop && box.active && box.noMinMax);
    QVERIFY(QTest::qWaitForWindowActive(&progress));

    Seen modal;
    services.dialogHook = [&](QDialog& dialog) {
        modal = look(dialog);
        logModel.Close();
    };
    services.showModal(logModel);
    QVERIFY(modal.onTop && modal.active);
    QVERIFY(QTest::qWaitForWindowActive(&progress));

    // Without the progress window nothing needs to stay above the rest.
    progress.hide();
    services.dialogHook = [&](QDialog& dialog) {
        box = look(dialog);
        dialog.accept();
    };
    services.showMessage(nullptr, "Done");
    QVERIFY(!box.onTop && box.active);
    QVERIFY(QTest::qWaitForWindowActive(&main));
}

void QtServicesTest::boxBeforeTheMainWindowWaitsForItAndIsCentredOnIt()
{
    ModelWindow closedOwner;
    QWidget main;
    main.resize(600, 400);
    QDialog closedView(&main);
    QtServices services;
    services.setMainView(&main);
    services.registerView(closedOwner, &closedView);
    bool mainShown = false;
    QWidget* owner = nullptr;
    QPoint offCentre;
    services.dialogHook = [&](QDialog& dialog) {
        mainShown = main.isVisible();
        owner = dialog.parentWidget();
        offCentre = dialog.frameGeometry().center() - main.frameGeometry().center();
        dialog.accept();
    };
    // A failure at start-up, and one of a window that has closed since.
    for (const Window* from :
         {static_cast<const Window*>(nullptr), static_cast<const Window*>(&closedOwner)}) {
        services.errorReport(from, "File not found");
        QVERIFY(mainShown);
        QCOMPARE(owner, &main);
        // Within the middle of the main window: the toolkit centres it allowing for frames
        // it can only estimate.
        QVERIFY2(std::abs(offCentre.x()) < main.width() / 6 &&
                     std::abs(offCentre.y()) < main.height() / 6,
                 qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
    }
}

void QtServicesTest::windowPlacesComeBackAtTheNextStart()
{
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    const QString file = WindowPlaces::defaultFile();
    QCOMPARE(file, state.filePath(QStringLiteral("twinfold/windows.ini")));
    const QRect left(40, 50, 420, 330);
    {
        WindowPlaces places(file);
        QWidget log;
        places.keep(log, QStringLiteral("log"));
        log.setGeometry(left);
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        log.hide();
    }
    QVERIFY(QFile::exists(file));
    WindowPlaces places(file);
    QWidget log;
    QWidget never;
    places.keep(log, QStringLiteral("log"));
    places.keep(never, QStringLiteral("main"));
    QCOMPARE(log.geometry(), left);
    QVERIFY(!never.testAttribute(Qt::WA_Moved));
}

QTEST_MAIN(QtServicesTest)
#include "QtServicesTest.moc"
