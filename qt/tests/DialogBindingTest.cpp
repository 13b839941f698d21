#include "BatchEditorBinder.h"
#include "BatchEditorView.h"
#include "DeleteDialogBinder.h"
#include "DeleteDialogView.h"
#include "QtServices.h"

#include "app/Application.h"

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

    QtServices services;
    Application app(services);
    BatchEditorView view;
    services.registerView(app.BatchDlg, &view);
    new BatchEditorBinder(app, view);
    startIn(app, top);
    app.Main.SourceDirListBox.setDirectory(top.filePath(QStringLiteral("jobs")).toStdString());

    QStringList shownFiles;
    QString added;
    services.dialogHook = [&](QDialog&) {
        for (int row = 0; row < view.FileList->count(); ++row)
            shownFiles << view.FileList->item(row)->text();
        QListWidget* files = view.FileList;
        if (files->count() == 2) {
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                              files->visualItemRect(files->item(1)).center());
            view.SpeedButton4->click();
        }
        if (view.BatchList->count() == 1)
            added = view.BatchList->item(0)->text();
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

    QtServices services;
    Application app(services);
    DeleteDialogView view;
    services.registerView(app.Delete, &view);
    new DeleteDialogBinder(app, view);
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
