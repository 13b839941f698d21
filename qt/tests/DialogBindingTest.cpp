#include "Program.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace twinfold;

class DialogBindingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void batchEditorAddArrowMovesTheClickedFileIntoTheBatchList();
    void deleteDialogOkRemovesTheTreeAndMovesTheViewUp();
};

namespace
{

void touch(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void startIn(Application& app, const QDir& top)
{
    app.start(StartOptions{top.filePath(QStringLiteral("config")).toStdString(), std::nullopt});
}

} // namespace

void DialogBindingTest::batchEditorAddArrowMovesTheClickedFileIntoTheBatchList()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir top(root.path());
    QVERIFY(top.mkpath(QStringLiteral("jobs")));
    touch(top.filePath(QStringLiteral("jobs/alpha.ini")));
    touch(top.filePath(QStringLiteral("jobs/beta.ini")));
    touch(top.filePath(QStringLiteral("jobs/notes.txt")));

    Program program;
    QtServices& services = program.services;
    Application& app = program.app;
    BatchEditorView& view = program.batchView;
    startIn(app, top);
    app.Main.SourceDirListBox.setDirectory(top.filePath(QStringLiteral("jobs")).toStdString());

    QStringList shownFiles;
    QString added;
    services.dialogHook = [&](QDialog&) {
        QAbstractItemModel* files = view.FileList->model();
        for (int row = 0; row < files->rowCount(); ++row)
            shownFiles << files->index(row, 0).data().toString();
        if (files->rowCount() == 2) {
            QTest::mouseClick(view.FileList->viewport(), Qt::LeftButton, {},
                              view.FileList->visualRect(files->index(1, 0)).center());
            view.SpeedButton4->click();
        }
        if (view.BatchList->model()->rowCount() == 1)
            added = view.BatchList->model()->index(0, 0).data().toString();
        QTest::keyClick(&view, Qt::Key_Escape);
    };
    app.mainCommand([&app] { app.Main.BatchFileEditor1Click(); });

    QCOMPARE(shownFiles, QStringList({QStringLiteral("alpha.ini"), QStringLiteral("beta.ini")}));
    QCOMPARE(added, top.filePath(QStringLiteral("jobs/beta.ini")));
    QCOMPARE(app.BatchDlg.BatchList.items(), std::vector<std::string>{added.toStdString()});
    // Escape closed the editor through its model, which the modal loop waits for.
    QVERIFY(!app.BatchDlg.visible());
    QVERIFY(!view.isVisible());
}

void DialogBindingTest::deleteDialogOkRemovesTheTreeAndMovesTheViewUp()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir top(root.path());
    QVERIFY(top.mkpath(QStringLiteral("old/inner")));
    touch(top.filePath(QStringLiteral("old/inner/file.txt")));

    Program program;
    QtServices& services = program.services;
    Application& app = program.app;
    DeleteDialogView& view = program.deleteView;
    startIn(app, top);
    const QString old = top.filePath(QStringLiteral("old"));
    app.Main.SourceDirListBox.setDirectory(old.toStdString());

    QString shownPath;
    services.dialogHook = [&](QDialog&) {
        shownPath = view.Edit1->text();
        QTest::mouseClick(view.DelSubdir, Qt::LeftButton);
        QTest::keyClick(view.Edit1, Qt::Key_Return);
    };
    app.mainCommand([&app] { app.Main.DeleteDirectorySDClick(); });

    QCOMPARE(shownPath, old);
    QVERIFY(app.Delete.DelSubdir.checked());
    QVERIFY(!QFileInfo::exists(old));
    QCOMPARE(QString::fromStdString(app.Main.SourceDirListBox.directory()), root.path());
    QVERIFY(!view.isVisible());
}

QTEST_MAIN(DialogBindingTest)
#include "DialogBindingTest.moc"
