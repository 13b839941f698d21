// Every kind of binding of the assembled program, both ways: what a model changes shows in the
// widget without coming back as the user's action, and what the user does reaches the model;
// and the dialogs and the Sync button worked as a person works them.
#include "Program.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace twinfold;

namespace
{

// The program started on a small tree: source with three files, a job file and a
// subdirectory, and an empty target, in the two views.
struct Fixture {
    QTemporaryDir root;
    Program program;
    Application& app = program.app;
    TMain& main = app.Main;
    MainWindowView& view = program.mainView;

    Fixture()
    {
        const QDir top(root.path());
        top.mkpath(QStringLiteral("source/sub"));
        top.mkpath(QStringLiteral("target"));
        for (const char* name : {"alpha.txt", "beta.txt", "gamma.doc", "job.ini"})
            test::writeFile(top.filePath(QStringLiteral("source/") + QLatin1String(name)), name);
        program.start(StartOptions{path("config"), std::nullopt});
        app.command([this] {
            main.SourceDirListBox.setDirectory(path("source"));
            main.DestDirListBox.setDirectory(path("target"));
        });
        view.show();
    }
    std::string path(const char* relative) const
    {
        return QDir(root.path()).filePath(QLatin1String(relative)).toStdString();
    }
    // Runs a model change as a command does.
    void model(const std::function<void()>& change) { QVERIFY(app.command(change)); }
};

int rowOf(const QListWidget* list, const QString& name)
{
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->text().trimmed() == name)
            return row;
    return -1;
}

QModelIndex indexOf(const QAbstractItemView* view, int row)
{
    return view->model()->index(row, 0);
}

void doubleClick(QAbstractItemView* view, int row)
{
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QPoint at = view->visualRect(indexOf(view, row)).center();
    // A person's double click: the first click selects the entry.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

struct Row {
    const char* name;
    std::function<void(Fixture&)> run;
};

const Row rows[] = {
    {"labels follow their models",
     [](Fixture& f) {
         f.model([&] { f.main.SourceDirListBox.setDirectory(f.path("source/sub")); });
         QCOMPARE(f.view.SourceLabel->path().toStdString(), f.path("source/sub"));
         QCOMPARE(f.view.FileCount->text().toStdString(), f.main.FileCount.text());
     }},
    {"directory view: current directory, highlight, Enter and typing",
     [](Fixture& f) {
         QListWidget* list = f.view.SourceDirListBox;
         QCOMPARE(list->count(), f.main.SourceDirListBox.count());
         const int here = f.main.SourceDirListBox.directoryPosition();
         QVERIFY(list->item(here)->font().bold());
         // Typing the name's first letter highlights the subdirectory; the current directory
         // stays the only one drawn in bold.
         list->setFocus();
         QTest::keyClicks(list, QStringLiteral("s"));
         QCOMPARE(list->currentRow(), rowOf(list, QStringLiteral("sub")));
         QCOMPARE(f.main.SourceDirListBox.itemIndex(), list->currentRow());
         QVERIFY(!list->currentItem()->font().bold());
         QTest::keyClick(list, Qt::Key_Return);
         QCOMPARE(f.main.SourceDirListBox.directory(), f.path("source/sub"));
         QVERIFY(list->item(rowOf(list, QStringLiteral("sub")))->font().bold());
     }},
    {"file list: selection both ways, no echo of a drawing",
     [](Fixture& f) {
         QListView* list = f.view.FileList;
         f.model([&] { f.main.SelectAll(); });
         QCOMPARE(list->selectionModel()->selectedRows().size(), 4);
         // Redrawing the whole list from the model leaves the model's selection as it was.
         f.model([&] { f.main.FileList.reset.emit(); });
         QCOMPARE(f.main.FileList.selectedCount(), 4);
         list->selectionModel()->select(indexOf(list, 1), QItemSelectionModel::Deselect);
         QVERIFY(!f.main.FileList.selected(1));
         QCOMPARE(f.main.FileCount.text(), std::string("Total Files Selected: 3"));
         QVERIFY(!f.main.cbSelectAll.checked());
         list->setFocus();
         QTest::keyClicks(list, QStringLiteral("g"));
         QCOMPARE(f.main.FileList.item(f.main.FileList.itemIndex()), std::string("gamma.doc"));
     }},
    {"drop-down list: a model's choice runs nothing, the user's runs the handler",
     [](Fixture& f) {
         f.model([&] { f.main.EditFilter.setItemIndex(2); });
         QCOMPARE(f.view.EditFilter->currentIndex(), 2);
         QCOMPARE(f.main.FileList.mask(), std::string("*.*"));
         f.view.EditFilter->setFocus();
         QTest::keyClick(f.view.EditFilter, Qt::Key_Down);
         QCOMPARE(f.main.EditFilter.itemIndex(), 3);
         QCOMPARE(f.main.FileList.mask(), std::string("*.wk*"));
     }},
    {"check boxes: mark and greying both ways",
     [](Fixture& f) {
         f.model([&] { f.main.SyncAll.setChecked(true); });
         QVERIFY(f.view.SyncAll->isChecked());
         QVERIFY(!f.view.cbSelectAll->isEnabled());
         QTest::mouseClick(f.view.SyncAll, Qt::LeftButton);
         QVERIFY(!f.main.SyncAll.checked());
         QVERIFY(f.view.cbSelectAll->isEnabled());
     }},
    {"command table: every command has its control",
     [](Fixture& f) {
         for (const MainCommand& command : TMain::commandTable())
             if (command.where != Where::Event)
                 QVERIFY(f.view.control(command.where, command.run));
         auto* mark = qobject_cast<QAction*>(
             f.view.control(Where::FileMenu, &TMain::SaveSettingsonExitClick));
         const bool before = f.main.SaveSettingsonExit;
         mark->trigger();
         QCOMPARE(f.main.SaveSettingsonExit, !before);
         QCOMPARE(mark->isChecked(), f.main.SaveSettingsonExit);
     }},
    {"pop-up menus open from Shift+F10 and the Menu key",
     [](Fixture& f) {
         const std::pair<QAbstractItemView*, QMenu*> lists[] = {
             {f.view.FileList, f.view.PopupMenuFL},
             {f.view.SourceDirListBox, f.view.PopupMenuSD},
             {f.view.DestDirListBox, f.view.PopupMenuDD}};
         for (const auto& [list, menu] : lists) {
             for (const auto& [key, modifiers] : {std::pair{Qt::Key_F10, Qt::ShiftModifier},
                                                  std::pair{Qt::Key_Menu, Qt::NoModifier}}) {
                 QWidget* opened = nullptr;
                 QTimer::singleShot(0, menu, [&opened, menu = menu] {
                     opened = QApplication::activePopupWidget();
                     menu->close();
                 });
                 list->setFocus();
                 QTest::keyClick(list, key, modifiers);
                 QCOMPARE(opened, menu);
             }
         }
     }},
    {"closing a dialog gives the focus back to the control that had it",
     [](Fixture& f) {
         QVERIFY(QTest::qWaitForWindowActive(&f.view));
         f.view.DestDirListBox->setFocus();
         // Worked from the keyboard, the menu bar holds the focus while its command runs.
         f.view.menuBar()->setFocus();
         f.program.services.dialogHook = [](QDialog& dialog) { dialog.reject(); };
         qobject_cast<QAction*>(f.view.control(Where::MenuBar, &TMain::Options1Click))->trigger();
         QTRY_COMPARE(QApplication::focusWidget(), f.view.DestDirListBox);
     }},
    {"options: entry fields, radio buttons and the double click that removes",
     [](Fixture& f) {
         OptionsView& view = f.program.optionsView;
         TOptionsbx& options = f.app.Optionsbx;
         view.show();
         f.model([&] { options.EditInclude.setText("*.txt"); });
         QCOMPARE(view.EditInclude->text(), QStringLiteral("*.txt"));
         QTest::keyClicks(view.EditExclude, QStringLiteral("*.tmp"));
         QCOMPARE(options.EditExclude.text(), std::string("*.tmp"));
         f.model([&] {
             for (const char* mask : {"*.a", "*.b", "*.c"})
                 options.IncludeList.add(mask);
             options.showBufferSize(262144);
         });
         QVERIFY(view.Mem256k->isChecked());
         QTest::mouseClick(view.Mem1mb, Qt::LeftButton);
         QCOMPARE(f.app.Settings.CopyBuffer, 1048576);
         doubleClick(view.IncludeList, 1);
         QCOMPARE(options.IncludeList.items(), (std::vector<std::string>{"*.a", "*.c"}));
         QCOMPARE(view.IncludeList->model()->rowCount(), 2);
     }},
    {"delete dialog: path and option both ways; OK removes the tree and moves the view up",
     [](Fixture& f) {
         DeleteDialogView& view = f.program.deleteView;
         TDelete& dialog = f.app.Delete;
         f.model([&] {
             dialog.Edit1.setText(f.path("target"));
             dialog.DelSubdir.setChecked(true);
         });
         QCOMPARE(view.Edit1->text().toStdString(), f.path("target"));
         QVERIFY(view.DelSubdir->isChecked());
         view.DelSubdir->click();
         QVERIFY(!dialog.DelSubdir.checked());
         QTest::keyClicks(view.Edit1, QStringLiteral("/x"));
         QCOMPARE(dialog.Edit1.text(), f.path("target") + "/x");

         test::writeFile(QString::fromStdString(f.path("source/sub/file.txt")), "file");
         f.model([&] { f.main.SourceDirListBox.setDirectory(f.path("source/sub")); });
         QString shownPath;
         f.program.services.dialogHook = [&](QDialog&) {
             shownPath = view.Edit1->text();
             QTest::mouseClick(view.DelSubdir, Qt::LeftButton);
             QTest::keyClick(view.Edit1, Qt::Key_Return);
         };
         f.app.mainCommand([&f] { f.main.DeleteDirectorySDClick(); });
         QCOMPARE(shownPath.toStdString(), f.path("source/sub"));
         QVERIFY(dialog.DelSubdir.checked());
         QVERIFY(!QFileInfo::exists(QString::fromStdString(f.path("source/sub"))));
         QCOMPARE(f.main.SourceDirListBox.directory(), f.path("source"));
         QVERIFY(!view.isVisible());
     }},
    {"batch editor: browser, arrow, lists and their double clicks, Escape",
     [](Fixture& f) {
         BatchEditorView& view = f.program.batchView;
         TBatchDlg& editor = f.app.BatchDlg;
         // Seen inside the modal editor, compared once it has closed.
         QStringList shownFiles;
         QString shownPath;
         std::vector<std::string> added;
         int afterRemove = -1;
         int afterDoubleClick = -1;
         f.program.services.dialogHook = [&](QDialog&) {
             QAbstractItemModel* files = view.FileList->model();
             for (int row = 0; row < files->rowCount(); ++row)
                 shownFiles << files->index(row, 0).data().toString();
             shownPath = view.SourceLabel->path();
             QTest::mouseClick(view.FileList->viewport(), Qt::LeftButton, {},
                               view.FileList->visualRect(files->index(0, 0)).center());
             view.SpeedButton4->click();
             added = editor.BatchList.items();
             doubleClick(view.BatchList, 0);
             afterRemove = view.BatchList->model()->rowCount();
             doubleClick(view.FileList, 0);
             afterDoubleClick = editor.BatchList.count();
             QTest::keyClick(&view, Qt::Key_Escape);
         };
         f.app.mainCommand([&f] { f.main.BatchFileEditor1Click(); });
         QCOMPARE(shownPath.toStdString(), f.path("source"));
         QCOMPARE(added, std::vector<std::string>{f.path("source/job.ini")});
         QCOMPARE(afterRemove, 0);
         QCOMPARE(afterDoubleClick, 1);
         QCOMPARE(view.windowTitle().toStdString(), editor.Caption);
         QCOMPARE(shownFiles, QStringList{QStringLiteral("job.ini")});
         // Escape closed the editor through its model, which the modal loop waits for.
         QVERIFY(!editor.visible());
         QVERIFY(!view.isVisible());
     }},
    {"Sync button copies the selected files; the log window lists them and closes on OK",
     [](Fixture& f) {
         QVERIFY(QTest::qWaitForWindowExposed(&f.view));
         int loggedRows = -1;
         f.program.services.dialogHook = [&loggedRows](QDialog& dialog) {
             if (auto* log = dynamic_cast<LogFileView*>(&dialog)) {
                 loggedRows = log->FileSuccess->count();
                 log->BitBtn1->click();
             } else if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
                 box->defaultButton()->click();
             } else {
                 dialog.accept();
             }
         };
         QListView* list = f.view.FileList;
         list->selectionModel()->select(QItemSelection(indexOf(list, 0), indexOf(list, 1)),
                                        QItemSelectionModel::Select);
         QCOMPARE(f.main.FileList.selectedCount(), 2);
         QTest::mouseClick(f.view.SyncBtn, Qt::LeftButton);
         QFile copied(QString::fromStdString(f.path("target/beta.txt")));
         QVERIFY(copied.open(QIODevice::ReadOnly));
         QCOMPARE(copied.readAll(), QByteArray("beta.txt"));
         QVERIFY(QFileInfo::exists(QString::fromStdString(f.path("target/alpha.txt"))));
         QCOMPARE(f.app.LogFilebx.FileSuccess.size(), std::size_t(2));
         QVERIFY(f.view.SyncBtn->isEnabled()); // enabled again once the run has ended
         qobject_cast<QAction*>(f.view.control(Where::MenuBar, &TMain::LogFile1Click))->trigger();
         QCOMPARE(loggedRows, 2);
         QVERIFY(!f.app.LogFilebx.visible() && !f.program.logView.isVisible());
     }},
    {"log lists: filled when shown, typing jumps by file name",
     [](Fixture& f) {
         LogFileView& view = f.program.logView;
         for (const char* name : {"alpha.txt", "beta.txt"})
             f.app.LogFilebx.AddLog(f.app.LogFilebx.FileSuccess, f.path("source/") + name);
         f.model([&] { f.app.LogFilebx.Show(); });
         view.show();
         QCOMPARE(view.FileSuccess->count(), 2);
         view.FileSuccess->setFocus();
         QTest::keyClicks(view.FileSuccess, QStringLiteral("b"));
         QCOMPARE(view.FileSuccess->currentRow(), 1);
     }},
};

} // namespace

class BindingTableTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyBinding_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(rows)); ++row)
            QTest::newRow(rows[row].name) << row;
    }
    void everyBinding()
    {
        QFETCH(int, row);
        Fixture fixture;
        rows[row].run(fixture);
    }
};

QTEST_MAIN(BindingTableTest)
#include "BindingTableTest.moc"
