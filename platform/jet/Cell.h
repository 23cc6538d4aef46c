// One value of a row as the provider holds it, and its moves to and from the
// consumer's buffer through a binding.
#pragma once

#include <windows.h>
#include <oledb.h>
#include <sqlite3.h>
#include <string>
#include <vector>

struct Cell
{
    int kind;               // SQLITE_NULL, SQLITE_INTEGER, SQLITE_FLOAT or SQLITE_TEXT
    sqlite3_int64 integer;
    double real;
    std::string text;       // UTF-8
    std::string ansi;       // the text in the ANSI code page, once a consumer has asked
                            // for it by reference and it is not plain ASCII

    Cell() : kind(SQLITE_NULL), integer(0), real(0) {}
};

// The types a binding may ask for (DBTYPE_STR also by reference).
bool IsBindableType(DBTYPE type);

// Reads the columns of the statement's current row from first on into cells
// (resized to fit), under the connection's lock: taken once for the row, not
// once a call.
void ReadRowCells(sqlite3_stmt* stmt, int first, std::vector<Cell>& cells);
int BindCell(sqlite3_stmt* stmt, int index, const Cell& cell);

// Writes the cell into the consumer's buffer; gives the column's status. A text
// bound by reference with provider-owned memory points into the cell, valid
// until its row is released or read again.
DBSTATUS CellToBuffer(Cell& cell, const DBBINDING& binding, BYTE* data);
// Reads the consumer's value. Inline text is never read past the bound
// maximum length, whatever length the consumer claims.
DBSTATUS CellFromBuffer(const DBBINDING& binding, const BYTE* data, Cell& cell);
