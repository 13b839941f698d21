#include "Screenshots.h"

#include "AboutBoxView.h"
#include "BatchEditorView.h"
#include "DeleteDialogView.h"
#include "HelpWindow.h"
#include "LogFileView.h"
#include "MainWindowView.h"
#include "OptionsView.h"
#include "QtServices.h"
#include "SpecialBoxView.h"
#include "SyncBoxView.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPainter>
#include <QStyle>

namespace twinfold
{

namespace
{

// Xvfb has no window manager to draw frames, so a plain title bar is painted above each window
// to show its caption.
QImage withTitleBar(QWidget& window)
{
    const QPixmap content = window.grab();
    const int barHeight = window.fontMetrics().height() + 10;
    QImage image(content.width(), content.height() + barHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, image.width(), barHeight, QColor(0x3c, 0x4a, 0x5c));
    painter.setPen(Qt::white);
    painter.setFont(window.font());
    painter.drawText(QRect(8, 0, image.width() - 16, barHeight), Qt::AlignVCenter | Qt::AlignLeft,
                     window.windowTitle());
    painter.drawPixmap(0, barHeight, content);
    return image;
}

void save(QWidget& window, const QString& dir, const char* name)
{
    window.show();
    QApplication::processEvents();
    withTitleBar(window).save(dir + QLatin1Char('/') + QLatin1String(name) +
                              QStringLiteral(".png"));
}

void addFolders(QListWidget& view, std::initializer_list<const char*> names)
{
    const QIcon folder = view.style()->standardIcon(QStyle::SP_DirIcon);
    for (const char* name : names)
        view.addItem(new QListWidgetItem(folder, QString::fromLatin1(name)));
}

void fillMain(MainWindowView& view)
{
    view.SourceLabel->setPath(QStringLiteral("/home/user/Documents"));
    view.DestLabel->setPath(QStringLiteral("/media/backup/Documents"));
    addFolders(*view.SourceDirListBox, {"/", "home", "user", "Documents", "letters", "reports"});
    addFolders(*view.DestDirListBox, {"/", "media", "backup", "Documents", "letters"});
    view.fileNames->setStringList({QStringLiteral("budget.xls"), QStringLiteral("notes.txt"),
                                   QStringLiteral("plan.doc"), QStringLiteral("todo.txt")});
    view.EditFilter->setCurrentIndex(0);
    view.DriveComboBox1->addItem(QStringLiteral("/"));
    view.DriveComboBox2->addItem(QStringLiteral("/media/backup"));
}

void fillSyncBox(SyncBoxView& box)
{
    box.SyncDirFrom->setPath(QStringLiteral("/home/user/Documents"));
    box.SyncDirTo->setPath(QStringLiteral("/media/backup/Documents"));
    box.FileName->setPath(QStringLiteral("/HOME/USER/DOCUMENTS/BUDGET.XLS"));
    box.Process->setText(QStringLiteral("Copying"));
    box.Gauge->setValue(42);
}

void fillLog(LogFileView& log)
{
    log.FileSuccess->addItems({QStringLiteral("/HOME/USER/DOCUMENTS/BUDGET.XLS"),
                               QStringLiteral("/HOME/USER/DOCUMENTS/PLAN.DOC")});
    log.FileOld->addItem(QStringLiteral("/HOME/USER/DOCUMENTS/NOTES.TXT"));
    log.FileFailed->addItem(QStringLiteral("/HOME/USER/DOCUMENTS/LOCKED.TXT"));
}

void fillOptions(OptionsView& options)
{
    options.EditInclude->setText(QStringLiteral("*.doc"));
    options.IncludeList->addItems({QStringLiteral("*.doc"), QStringLiteral("*.txt")});
    options.ExcludeList->addItem(QStringLiteral("~*.*"));
}

void fillBatchEditor(BatchEditorView& editor)
{
    editor.DriveComboBox1->addItem(QStringLiteral("/"));
    editor.SourceLabel->setText(QStringLiteral("/home/user/jobs"));
    addFolders(*editor.SDirList, {"/", "home", "user", "jobs"});
    editor.FileList->addItems({QStringLiteral("documents.ini"), QStringLiteral("photos.ini")});
    editor.BatchList->addItems({QStringLiteral("/HOME/USER/JOBS/DOCUMENTS.INI"),
                                QStringLiteral("/HOME/USER/JOBS/PHOTOS.INI")});
}

} // namespace

void drawScreenshots(QtServices& services, MainWindowView& mainView, const QString& dir)
{
    fillMain(mainView);
    save(mainView, dir, "main");
    SyncBoxView syncBox(&mainView);
    fillSyncBox(syncBox);
    save(syncBox, dir, "progress");
    LogFileView log(&mainView);
    fillLog(log);
    save(log, dir, "log");
    OptionsView options(&mainView);
    fillOptions(options);
    save(options, dir, "options");
    BatchEditorView editor(&mainView);
    fillBatchEditor(editor);
    save(editor, dir, "batch");
    DeleteDialogView deleteDialog(&mainView);
    deleteDialog.Edit1->setText(QStringLiteral("/HOME/USER/DOCUMENTS/OLD"));
    save(deleteDialog, dir, "delete");
    AboutBoxView about(&mainView);
    about.ProductName->setText(QStringLiteral("Twinfold"));
    about.Version->setText(QStringLiteral("Version ") + QApplication::applicationVersion());
    about.Copyright->setText(QStringLiteral("Copyright (C) 2024 The Twinfold developers"));
    save(about, dir, "about");
    SpecialBoxView special(&about);
    special.Line->setText(QStringLiteral("Twinfold keeps one directory in step with another."));
    save(special, dir, "special");

    services.dialogHook = [&dir](QDialog& box) {
        save(box, dir, "message");
        box.reject();
    };
    services.messageBox(nullptr, MessageForm::Confirmation, "Confirm",
                        "Delete File: /home/user/Documents/notes.txt?");
    services.dialogHook = nullptr;

    services.showHelpContents();
    save(*services.helpWindow(), dir, "help");
}

} // namespace twinfold
