// Compact JSON written straight into a byte buffer the caller keeps between
// uses, so that a snapshot written every tick costs no allocation once the
// buffer has grown to its size. Numbers are written in the shortest form that
// reads back to the same double; texts as UTF-8 with the escapes JSON needs.
// The caller writes a well-formed sequence (keys only inside objects); the
// writer places the commas.
#pragma once

#include <QStringView>
#include <cstdint>
#include <string>
#include <string_view>

namespace orbistat {

class JsonWriter {
public:
    // Clears `out` (keeping its capacity) and writes into it.
    explicit JsonWriter(std::string& out);

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The key of the next value in the current object.
    void key(std::string_view name);

    // A finite number; the caller checks finiteness (JSON has no NaN).
    void number(double value);
    void integer(int64_t value);
    void boolean(bool value);
    void text(QStringView value);

private:
    void separate();

    std::string& out_;
    // Whether the current container already holds an element; one bit per
    // nesting level, enough for the shallow documents written here.
    uint64_t hasElement_ = 0;
    int depth_ = 0;
    bool afterKey_ = false;
};

} // namespace orbistat
