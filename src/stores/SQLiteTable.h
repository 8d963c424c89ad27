#pragma once
// The complete result of one query, fetched at once; it holds no statement.
#include <string>
#include <vector>

#include "stores/SQLiteValue.h"

namespace nullvane::stores {

class TSQLiteDatabase;

class TSQLiteTable {
public:
    // Runs the query and fetches every row.
    TSQLiteTable(TSQLiteDatabase& database, const std::string& sql);

    [[nodiscard]] int RowCount() const { return rowCount_; }
    [[nodiscard]] int ColumnCount() const { return static_cast<int>(columnNames_.size()); }
    // Upper-cased; empty when no row came back.
    [[nodiscard]] const std::vector<std::string>& ColumnNames() const { return columnNames_; }
    [[nodiscard]] const std::vector<TSQLiteColumnKind>& ColumnKinds() const { return columnKinds_; }
    // Row after row.
    [[nodiscard]] const std::vector<TSQLiteCell>& Cells() const { return cells_; }
    [[nodiscard]] const TSQLiteCell& Cell(int row, int column) const {
        return cells_.at(static_cast<size_t>(row) * columnNames_.size() + static_cast<size_t>(column));
    }

    int CurrentRow = 0;

private:
    int rowCount_ = 0;
    std::vector<std::string> columnNames_;
    std::vector<TSQLiteColumnKind> columnKinds_;
    std::vector<TSQLiteCell> cells_;
};

}  // namespace nullvane::stores
