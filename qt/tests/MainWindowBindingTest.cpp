#include "Program.h"
#include "TestFiles.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace twinfold;

class MainWindowBindingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void syncButtonCopiesSelectedFilesAndLogsThem();
};

using test::writeFile;

void MainWindowBindingTest::syncButtonCopiesSelectedFilesAndLogsThem()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir top(root.path());
    QVERIFY(top.mkpath(QStringLiteral("source")) && top.mkpath(QStringLiteral("target")));
    writeFile(top.filePath(QStringLiteral("source/one.txt")), "first");
    writeFile(top.filePath(QStringLiteral("source/two.txt")), "second");

    Program program;
    QtServices& services = program.services;
    Application& app = program.app;
    MainWindowView& view = program.mainView;
    // Every question of the run is answered with its default button.
    int loggedRows = -1;
    services.dialogHook = [&loggedRows](QDialog& dialog) {
        if (auto* log = dynamic_cast<LogFileView*>(&dialog)) {
            loggedRows = log->FileSuccess->count();
            log->BitBtn1->click();
        } else if (auto* box = qobject_cast<QMessageBox*>(&dialog); box && box->defaultButton())
            box->defaultButton()->click();
        else
            dialog.accept();
    };
    program.start(StartOptions{top.filePath(QStringLiteral("config")).toStdString(), std::nullopt});
    view.show();
    view.activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // The model moves the views; the widgets follow a change they did not make.
    const std::string source = top.filePath(QStringLiteral("source")).toStdString();
    const std::string target = top.filePath(QStringLiteral("target")).toStdString();
    QVERIFY(app.command([&] {
        app.Main.SourceDirListBox.setDirectory(source);
        app.Main.DestDirListBox.setDirectory(target);
    }));
    QCOMPARE(view.FileList->model()->rowCount(), 2);
    QCOMPARE(view.SourceDirListBox->count(), app.Main.SourceDirListBox.count());

    // The user's selection reaches the model, and the button runs the Sync.
    view.FileList->selectAll();
    QCOMPARE(app.Main.FileList.selectedCount(), 2);
    QTest::mouseClick(view.SyncBtn, Qt::LeftButton);

    QFile copied(top.filePath(QStringLiteral("target/two.txt")));
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QCOMPARE(copied.readAll(), QByteArray("second"));
    QVERIFY(QFile::exists(top.filePath(QStringLiteral("target/one.txt"))));
    QCOMPARE(app.LogFilebx.FileSuccess.size(), std::size_t(2));
    QVERIFY(view.SyncBtn->isEnabled()); // enabled again once the run has ended

    // The log window, opened from the menu bar, lists the copies and closes on OK.
    view.action(Where::MenuBar, &TMain::LogFile1Click)->trigger();
    QCOMPARE(loggedRows, 2);
    QVERIFY(!app.LogFilebx.visible() && !program.logView.isVisible());
}

QTEST_MAIN(MainWindowBindingTest)
#include "MainWindowBindingTest.moc"
