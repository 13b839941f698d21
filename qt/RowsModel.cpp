#include "RowsModel.h"

#include <utility>

namespace twinfold
{

RowsModel::RowsModel(QStringList headers, Count count, Cell cell, QObject* parent)
    : QAbstractTableModel(parent), m_headers(std::move(headers)), m_count(std::move(count)),
      m_cell(std::move(cell))
{
}

void RowsModel::reload()
{
    beginResetModel();
    endResetModel();
}

int RowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count();
}

int RowsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant RowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_count())
        return {};
    return m_cell(index.row(), index.column(), role);
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= m_headers.size())
        return {};
    return m_headers.at(section);
}

} // namespace twinfold
