#pragma once

#include "PathLabel.h"

#include "ui/Main.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>

#include <vector>

namespace twinfold
{

// The main window's widgets in the designed order and grouping; the binding connects them to
// TMain. Every command of TMain::commandTable() but the control events has one control here,
// an action or a button, found by its place and handler.
class MainWindowView : public QMainWindow
{
public:
    explicit MainWindowView(QWidget* parent = nullptr);

    // The button or action of a command; throws std::logic_error for a command that has none.
    QObject* control(Where where, void (TMain::*run)()) const;

    PathLabel* SourceLabel;
    QListWidget* SourceDirListBox;
    QListView* FileList;
    PathLabel* DestLabel;
    QListWidget* DestDirListBox;
    QPushButton* Swapbtn;
    QComboBox* EditFilter;
    QComboBox* DriveComboBox1;
    QComboBox* DriveComboBox2;
    QPushButton* SyncBtn;
    QPushButton* ExitBtn;
    QCheckBox* cbSelectAll;
    QCheckBox* SyncAll;
    QLabel* selsize;
    QLabel* FileCount;
    QMenu* PopupMenuFL;
    QMenu* PopupMenuSD;
    QMenu* PopupMenuDD;

private:
    struct Control {
        Where where;
        void (TMain::*run)();
        QObject* object;
    };

    QPushButton* commandButton(void (TMain::*run)());
    void buildMenus();
    std::vector<Control> m_controls;
};

} // namespace twinfold
