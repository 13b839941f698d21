#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>

namespace twinfold
{

// A read-only table over rows that a window model holds: the view asks for the cells it draws
// and nothing else, so a list of a hundred thousand rows costs no more to show than one screen.
class RowsModel : public QAbstractTableModel
{
public:
    using Count = std::function<int()>;
    // The text of a cell for a role (display, tool tip, alignment); an empty QVariant for none.
    using Cell = std::function<QVariant(int row, int column, int role)>;

    RowsModel(QStringList headers, Count count, Cell cell, QObject* parent);

    // The rows changed as a whole: the views read them afresh.
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headers;
    Count m_count;
    Cell m_cell;
};

} // namespace twinfold
