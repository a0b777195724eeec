#pragma once

#include <string>

// Builds one line of JSON into storage that is reused from line to line.
class JsonLine {
public:
    JsonLine() { text.reserve(4096); }

    void Clear() {
        text.clear();
        needComma = false;
    }
    void BeginObject(const char* key = nullptr);
    void EndObject();
    void BeginArray(const char* key);
    void EndArray();
    void Null(const char* key);
    void Bool(const char* key, bool value);
    void Int(const char* key, long value);
    void Float(const char* key, double value);
    void String(const char* key, const char* value);

    const std::string& Text() const { return text; }

private:
    void Key(const char* key);
    void Separate();

    std::string text;
    bool needComma = false;
};
