// The main window's file list, selection and file operations, handed on to their classes.
#include "ui/Main.h"

namespace twinfold
{

void TMain::EditFilterChange()
{
    m_selection.EditFilterChange();
}

void TMain::FilterFileList()
{
    m_selection.FilterFileList();
}

void TMain::FileListChange()
{
    m_selection.FileListChange();
}

void TMain::FileListClick()
{
    m_selection.FileListClick();
}

void TMain::SelectAll()
{
    m_selection.SelectAll();
}

void TMain::SelectAll1Click()
{
    m_selection.SelectAll1Click();
}

void TMain::cbSelectAllClick()
{
    m_selection.cbSelectAllClick();
}

void TMain::Cancel1Click()
{
    m_selection.Cancel1Click();
}

void TMain::Delete1Click()
{
    m_operations.Delete1Click();
}

void TMain::Rename1Click()
{
    m_operations.Rename1Click();
}

void TMain::MakeDirectorySDClick()
{
    m_operations.MakeDirectorySDClick();
}

void TMain::MakeDirectoryDDClick()
{
    m_operations.MakeDirectoryDDClick();
}

void TMain::DeleteDirectorySDClick()
{
    m_operations.DeleteDirectorySDClick();
}

void TMain::DeleteDirectoryDDClick()
{
    m_operations.DeleteDirectoryDDClick();
}

} // namespace twinfold
