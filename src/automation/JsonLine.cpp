#include "automation/JsonLine.h"

#include <cmath>
#include <cstdio>

void JsonLine::Separate() {
    if (needComma) {
        text += ", ";
    }
    needComma = true;
}

void JsonLine::Key(const char* key) {
    Separate();
    if (key != nullptr) {
        text += '"';
        text += key;
        text += "\": ";
    }
}

void JsonLine::BeginObject(const char* key) {
    Key(key);
    text += '{';
    needComma = false;
}

void JsonLine::EndObject() {
    text += '}';
    needComma = true;
}

void JsonLine::BeginArray(const char* key) {
    Key(key);
    text += '[';
    needComma = false;
}

void JsonLine::EndArray() {
    text += ']';
    needComma = true;
}

void JsonLine::Null(const char* key) {
    Key(key);
    text += "null";
}

void JsonLine::Bool(const char* key, bool value) {
    Key(key);
    text += value ? "true" : "false";
}

void JsonLine::Int(const char* key, long value) {
    Key(key);
    char number[32];
    std::snprintf(number, sizeof(number), "%ld", value);
    text += number;
}

void JsonLine::Float(const char* key, double value) {
    Key(key);
    if (!std::isfinite(value)) {
        text += "null";
        return;
    }
    char number[40];
    std::snprintf(number, sizeof(number), "%.7g", value);
    text += number;
}

void JsonLine::String(const char* key, const char* value) {
    Key(key);
    text += '"';
    for (const char* c = value; *c != '\0'; ++c) {
        const unsigned char u = static_cast<unsigned char>(*c);
        if (u == '"' || u == '\\') {
            text += '\\';
            text += *c;
        } else if (u == '\n') {
            text += "\\n";
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\u%04x", u);
            text += escaped;
        } else {
            text += *c;
        }
    }
    text += '"';
}
