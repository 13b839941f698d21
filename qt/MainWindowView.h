#pragma once

#include "PathLabel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QStringListModel>

#include <map>
#include <string>

namespace twinfold
{

// The main window's widgets in the designed order and grouping; the binding step connects
// them to TMain. Every command of TMain::commandTable() has one action here, by handler name
// and place ("File", "PopupMenuFL", ...).
class MainWindowView : public QMainWindow
{
public:
    explicit MainWindowView(QWidget* parent = nullptr);

    QAction* action(const std::string& where, const std::string& handler) const;

    PathLabel* SourceLabel;
    QListWidget* SourceDirListBox;
    QListView* FileList;
    QStringListModel* fileNames;
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
    void buildMenus();
    std::map<std::pair<std::string, std::string>, QAction*> m_actions;
};

} // namespace twinfold
