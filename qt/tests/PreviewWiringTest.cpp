// The Preview command as the user reaches it: F5 in the main window, the preview window's
// lists and totals, and its Sync button starting the real run.
#include "Program.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace twinfold;

class PreviewWiringTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void f5ShowsWhatSyncWouldDoAndItsSyncButtonRunsIt();
};

using test::writeFile;

void PreviewWiringTest::f5ShowsWhatSyncWouldDoAndItsSyncButtonRunsIt()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir top(root.path());
    QVERIFY(top.mkpath(QStringLiteral("source/sub")) && top.mkpath(QStringLiteral("target")));
    writeFile(top.filePath(QStringLiteral("source/one.txt")), "first");
    writeFile(top.filePath(QStringLiteral("source/sub/two.txt")), "second");

    Program program;
    Application& app = program.app;
    MainWindowView& view = program.mainView;
    PreviewView& previewView = program.previewView;
    QtServices& services = program.services;
    app.start(StartOptions{top.filePath(QStringLiteral("config")).toStdString(), std::nullopt});
    view.show();
    view.activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(app.command([&] {
        app.Main.SourceDirListBox.setDirectory(
            top.filePath(QStringLiteral("source")).toStdString());
        app.Main.DestDirListBox.setDirectory(top.filePath(QStringLiteral("target")).toStdString());
        app.Main.SyncAll.setChecked(true);
    }));

    // What the window showed, read while it was open; then its Sync button.
    int rowsToCopy = -1;
    QString firstRow;
    QString totals;
    bool copiedWhileOpen = true;
    services.dialogHook = [&](QDialog& dialog) {
        if (&dialog == &previewView) {
            rowsToCopy = previewView.ToCopy->model()->rowCount();
            firstRow = previewView.ToCopy->model()->index(0, 0).data().toString();
            totals = previewView.Totals->text();
            copiedWhileOpen = QFile::exists(top.filePath(QStringLiteral("target/one.txt")));
            QTest::mouseClick(previewView.SyncBtn, Qt::LeftButton);
        } else if (auto* box = qobject_cast<QMessageBox*>(&dialog); box && box->defaultButton()) {
            box->defaultButton()->click();
        } else {
            dialog.accept();
        }
    };
    QVERIFY(view.control(Where::FileListPopup, &TMain::Preview1Click));
    QTest::keyClick(&view, Qt::Key_F5);

    QCOMPARE(rowsToCopy, 2);
    QCOMPARE(firstRow, QStringLiteral("sub/two.txt"));
    QCOMPARE(totals, QStringLiteral("Would copy 2 files (11 bytes), leave 0 files alone and make 1 "
                                    "directory."));
    QVERIFY(!copiedWhileOpen);
    QVERIFY(!previewView.isVisible());
    QFile copied(top.filePath(QStringLiteral("target/sub/two.txt")));
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QCOMPARE(copied.readAll(), QByteArray("second"));
    QCOMPARE(app.LogFilebx.FileSuccess.size(), std::size_t(2));
}

QTEST_MAIN(PreviewWiringTest)
#include "PreviewWiringTest.moc"
