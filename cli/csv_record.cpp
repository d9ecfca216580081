// A small state machine over the bytes: outside quotes, inside quotes, or just past a closing
// quote (where only a comma or a line end may follow).
#include "csv_record.h"

#include "platform.h"

namespace ecc200_cli {
namespace {

enum class Place { kField, kQuoted, kAfterQuote };

class RecordBuilder {
  public:
    RecordBuilder(const std::vector<int>& columns, std::size_t maxField, CsvRecord& record)
        : columns_(columns), maxField_(maxField), record_(record) {
        record_ = {};
        record_.kept.resize(columns.size());
        record_.cut.resize(columns.size());
    }

    void Add(char c) {
        const std::size_t field = record_.fieldCount;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (static_cast<std::size_t>(columns_[i]) != field + 1) continue;
            if (record_.kept[i].size() < maxField_) {
                record_.kept[i] += c;
            } else {
                record_.cut[i] = true;
            }
        }
    }
    void EndField() { ++record_.fieldCount; }
    void Malformed(const std::string& why) {
        if (record_.malformed.empty()) {
            record_.malformed = why + " in field " + std::to_string(record_.fieldCount + 1);
        }
    }

  private:
    const std::vector<int>& columns_;
    std::size_t maxField_;
    CsvRecord& record_;
};

}  // namespace

bool ReadCsvRecord(std::FILE* in, const std::vector<int>& columns, std::size_t maxField,
                   CsvRecord& record) {
    RecordBuilder builder(columns, maxField, record);
    Place place = Place::kField;
    bool started = false;
    bool fieldStarted = false;
    for (int c = std::getc(in); c != EOF && InterruptSignal() == 0; c = std::getc(in)) {
        started = true;
        if (place == Place::kQuoted) {
            if (c != '"') {
                builder.Add(static_cast<char>(c));
                continue;
            }
            const int next = std::getc(in);
            if (next == '"') {
                builder.Add('"');
                continue;
            }
            if (next != EOF) std::ungetc(next, in);
            place = Place::kAfterQuote;
            continue;
        }
        if (c == ',') {
            builder.EndField();
            place = Place::kField;
            fieldStarted = false;
            continue;
        }
        if (c == '\r') {
            const int next = std::getc(in);
            if (next == '\n') break;
            if (next != EOF) std::ungetc(next, in);
        }
        if (c == '\n') break;
        if (c == '"' && place == Place::kField && !fieldStarted) {
            place = Place::kQuoted;
            fieldStarted = true;
            continue;
        }
        if (place == Place::kAfterQuote) {
            builder.Malformed("text after a closing quote");
        } else if (c == '"') {
            builder.Malformed("a quote inside an unquoted field");
        }
        fieldStarted = true;
        builder.Add(static_cast<char>(c));
    }
    if (place == Place::kQuoted) builder.Malformed("the input ends inside a quoted field");
    if (started) builder.EndField();
    return started && InterruptSignal() == 0;
}

}  // namespace ecc200_cli
