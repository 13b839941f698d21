#include "DialogViews.h"

#include "BindingKit.h"
#include "Bindings.h"

#include "app/Application.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QStyle>
#include <QVBoxLayout>

namespace twinfold
{

namespace
{

QToolButton* arrowButton(QStyle::StandardPixmap arrow, const char* hint)
{
    auto* button = new QToolButton;
    button->setIcon(button->style()->standardIcon(arrow));
    button->setToolTip(QString::fromLatin1(hint));
    button->setIconSize(QSize(20, 20));
    button->setFixedSize(32, 32);
    return button;
}

QPushButton* plainButton(const char* caption)
{
    auto* button = new QPushButton(QString::fromLatin1(caption));
    // Enter in a list must not close the editor by way of an automatic default.
    button->setAutoDefault(false);
    return button;
}

QLabel* labelFor(const char* text, QWidget* buddy)
{
    auto* label = new QLabel(QString::fromLatin1(text));
    label->setBuddy(buddy);
    return label;
}

constexpr int BatchEditorHelpTopic = 4;

} // namespace

BatchEditorView::BatchEditorView(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      DriveComboBox1(new QComboBox), SourceLabel(new PathLabel), SDirList(new QListWidget),
      FileList(new QListView), FilterComboBox1(new QComboBox),
      SpeedButton3(arrowButton(QStyle::SP_ArrowLeft, "Remove the selected entries")),
      SpeedButton4(arrowButton(QStyle::SP_ArrowRight, "Add the selected files")),
      BatchList(new QListView), Cancel(plainButton("Cancel")), Exit(plainButton("E&xit"))
{
    setWindowTitle(QStringLiteral("Batch Editor (Untitled)"));
    auto* menuBar = new QMenuBar(this);
    FileMenu = menuBar->addMenu(QStringLiteral("&File"));
    New1 = FileMenu->addAction(QStringLiteral("&New"));
    Open1 = FileMenu->addAction(QStringLiteral("&Open..."));
    Save1 = FileMenu->addAction(QStringLiteral("&Save"));
    SaveAsMenu = FileMenu->addAction(QStringLiteral("Save &As..."));
    FileMenu->addSeparator();
    Exit1 = FileMenu->addAction(QStringLiteral("E&xit"));
    Help = new QAction(this);
    Help->setShortcut(QKeySequence::HelpContents);
    addAction(Help);

    SourceLabel->setMinimumWidth(180);
    SDirList->setMinimumSize(180, 130);
    FileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The model lists the names in order; a sorting widget would part its rows from the model's.
    FileList->setToolTip(QStringLiteral("Double Click to Add"));
    FileList->setMinimumSize(180, 110);
    BatchList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    BatchList->setToolTip(QStringLiteral("Double Click to Remove"));
    BatchList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    BatchList->setMinimumSize(280, 260);

    auto* browser = new QVBoxLayout;
    browser->addWidget(labelFor("Dri&ves:", DriveComboBox1));
    browser->addWidget(DriveComboBox1);
    browser->addWidget(SourceLabel);
    browser->addWidget(SDirList);
    browser->addWidget(FileList);
    browser->addWidget(labelFor("List Files of &Type:", FilterComboBox1));
    browser->addWidget(FilterComboBox1);
    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(SpeedButton3);
    arrows->addWidget(SpeedButton4);
    arrows->addStretch();
    auto* batch = new QVBoxLayout;
    batch->addWidget(labelFor("Files to Batch Process:", BatchList));
    batch->addWidget(BatchList);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Cancel);
    buttons->addWidget(Exit);
    batch->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(browser);
    layout->addLayout(arrows);
    layout->addLayout(batch, 1);

    QWidget* const order[] = {DriveComboBox1,  SDirList,     FileList,
                              FilterComboBox1, SpeedButton3, SpeedButton4,
                              BatchList,       Cancel,       Exit};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void bindBatchEditor(BindingKit& kit, Application& app, BatchEditorView& view)
{
    TBatchDlg& editor = app.BatchDlg;
    auto call = [&editor](void (TBatchDlg::*handler)()) {
        return BindingKit::call(editor, handler);
    };
    // The caption is a plain text of the model, changed only by its handlers.
    kit.afterEach = [&editor, &view] { view.setWindowTitle(qText(editor.Caption)); };
    kit.afterEach();
    kit.follow(editor.shown, [&kit, &view] {
        kit.afterEach();
        view.FileList->setFocus();
    });
    kit.combo(editor.DriveComboBox1, view.DriveComboBox1, call(&TBatchDlg::DriveComboBox1Change));
    kit.label(editor.SourceLabel, view.SourceLabel);
    kit.directory(editor.SDirList, view.SDirList);
    kit.list(editor.FileList, view.FileList, {}, call(&TBatchDlg::FileListDblClick));
    kit.combo(editor.FilterComboBox1, view.FilterComboBox1,
              call(&TBatchDlg::FilterComboBox1Change));
    kit.list(editor.BatchList, view.BatchList, {}, call(&TBatchDlg::BatchListDblClick));
    kit.press(view.SpeedButton3, call(&TBatchDlg::SpeedButton3Click));
    kit.press(view.SpeedButton4, call(&TBatchDlg::SpeedButton4Click));
    kit.press(view.Cancel, call(&TBatchDlg::CancelClick));
    kit.press(view.Exit, call(&TBatchDlg::ExitClick));
    kit.press(view.New1, call(&TBatchDlg::New1Click));
    kit.press(view.Open1, call(&TBatchDlg::Open1Click));
    kit.press(view.Save1, call(&TBatchDlg::Save1Click));
    kit.press(view.SaveAsMenu, call(&TBatchDlg::SaveAsMenuClick));
    kit.press(view.Exit1, call(&TBatchDlg::ExitClick));
    kit.press(view.Help,
              [&services = app.services()] { services.showHelpTopic(BatchEditorHelpTopic); });
    // Escape and the close box close at once, as Cancel does; closing never saves.
    kit.rejected(&view, call(&TBatchDlg::closeBoxClicked));
}

} // namespace twinfold
