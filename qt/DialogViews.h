#pragma once

#include "PathLabel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>

// The widgets of the program's dialogs, one class for each, in their designed order; each is
// built and bound to its model in a file of its own.
namespace twinfold
{

// The log window "Twinfold Log": the three result lists, each under its label with its Save
// button beside it, and Clear and OK below. OK is the default button.
class LogFileView : public QDialog
{
public:
    explicit LogFileView(QWidget* parent = nullptr);

    QListWidget* FileSuccess;
    QPushButton* SaveSuccess;
    QListWidget* FileOld;
    QPushButton* SaveOld;
    QListWidget* FileFailed;
    QPushButton* SaveFail;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;
};

// The batch editor: the file browser on the left, the two arrow buttons between the lists, the
// batch list on the right, Cancel and Exit at the bottom right, and the File menu.
class BatchEditorView : public QDialog
{
public:
    explicit BatchEditorView(QWidget* parent = nullptr);

    QMenu* FileMenu;
    QAction* New1;
    QAction* Open1;
    QAction* Save1;
    QAction* SaveAsMenu;
    QAction* Exit1;
    QAction* Help;
    QComboBox* DriveComboBox1;
    PathLabel* SourceLabel;
    QListWidget* SDirList;
    QListView* FileList;
    QComboBox* FilterComboBox1;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton4;
    QListView* BatchList;
    QPushButton* Cancel;
    QPushButton* Exit;
};

// The delete-directory dialog "Delete?": the path first in tab order, the subtree option, OK as
// the default button and Cancel on Escape.
class DeleteDialogView : public QDialog
{
public:
    explicit DeleteDialogView(QWidget* parent = nullptr);

    QLineEdit* Edit1;
    QCheckBox* DelSubdir;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;
};

// The About box: the program's icon, name, version and copyright on a panel, and "OK". A
// double click on the panel opens its companion.
class AboutBoxView : public QDialog
{
public:
    explicit AboutBoxView(QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QPushButton* OKButton;
};

// The About box's companion: one line of text and "OK".
class SpecialBoxView : public QDialog
{
public:
    explicit SpecialBoxView(QWidget* parent = nullptr);

    QLabel* Line;
    QPushButton* OKButton;
};

// The preview window "Preview": where from and where to, the files the Sync would copy, the
// files it would leave alone and the directories it would make, each in its own list, the
// totals, and "Sync" (the default button) and "Close". It can be enlarged; the lists grow.
class PreviewView : public QDialog
{
public:
    explicit PreviewView(QWidget* parent = nullptr);

    PathLabel* From;
    PathLabel* To;
    QTreeView* ToCopy;
    QTreeView* LeftAlone;
    QTreeView* Directories;
    QLabel* Totals;
    QPushButton* SyncBtn;
    QPushButton* CloseBtn;
};

} // namespace twinfold
