#pragma once
// The few things the card store needs of an SQL engine: one connection to one database file,
// selects read row by row with columns found by name, and writes. Statement texts and values are
// GB18030 texts like every text of the program; how the engine stores them is its own affair.
// File paths are the file system's own bytes, as the run directory gives them.
// Values are always bound to the statement's "?" placeholders, never put into its text.
// Nothing here throws: every operation reports through its result.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkora {

using SqlParams = std::vector<std::string_view>;

// The rows of one select, read forward once. Valid only while its connection stays open.
class SqlResult {
public:
    virtual ~SqlResult() = default;

    // Moves to the next row (to the first one on the first call). False at the end of the rows or
    // when reading fails; failed() tells the two apart.
    virtual bool next() = 0;
    virtual bool failed() const = 0;

    // The position of a column of the result, its name compared without regard to Latin letter
    // case; -1 when the result has no such column.
    virtual int columnIndex(std::string_view name) const = 0;

    // The current row's value of a column as text (an integer as its decimal digits); no value for
    // NULL or for a column position the result does not have.
    virtual std::optional<std::string> text(int column) const = 0;
};

class SqlConnection {
public:
    virtual ~SqlConnection() = default;

    // Opens an existing database file for reading and writing. False, with the connection left
    // closed, when the file is missing or is not a database holding the card tables.
    virtual bool open(const std::string& path) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Creates, or replaces, the database file at `path` holding the empty card tables. The file at
    // `path` is never left half-made: it is the old file or the whole new one. Works on `path`
    // only, whether or not this connection is open.
    virtual bool createEmptyDatabase(const std::string& path) = 0;

    // Runs a select with `params` bound in order to its placeholders. No result when the statement
    // is rejected or the connection is closed.
    virtual std::unique_ptr<SqlResult> select(std::string_view sql, const SqlParams& params) = 0;

    // Runs a writing statement with `params` bound in order to its placeholders. True unless the
    // database reports an error; a statement that changes no row succeeds.
    virtual bool execute(std::string_view sql, const SqlParams& params) = 0;
};

} // namespace velkora
