#include "BatchEditorView.h"

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
    // F1 opens the editor's own help topic.
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

} // namespace twinfold
