// Reading a batch file as CSV (RFC 4180): fields separated by commas, a field in double quotes
// may hold commas, line ends and doubled quotes (""), and a record ends at a line end (LF or
// CR LF) outside quotes. Only the fields asked for are kept, each cut short past a bound, so a
// record of any size takes bounded memory.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace ecc200_cli {

struct CsvRecord {
    std::vector<std::string> kept;  // the fields asked for, in the order asked
    std::vector<bool> cut;          // whether each kept field was longer than the bound
    std::size_t fieldCount = 0;
    std::string malformed;  // why the record breaks the CSV rules; empty when it does not
};

// Reads the next record from in, keeping the fields whose numbers (from 1) columns lists, at most
// maxField bytes each. False at the end of the input (or on an error or an interrupt) before any
// byte of a record.
bool ReadCsvRecord(std::FILE* in, const std::vector<int>& columns, std::size_t maxField,
                   CsvRecord& record);

}  // namespace ecc200_cli
