#pragma once

#include "PathLabel.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace twinfold
{

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

} // namespace twinfold
