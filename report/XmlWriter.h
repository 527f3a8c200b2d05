// XmlWriter: writes the statement file line by line. Each call is one complete line ending in
// CR LF (a start tag, an end tag, or an element with its text), indented with one tab per
// depth level, handed to the file in one write. Texts and attribute values are escaped; the
// bytes are code page 932 as they come, except those the file cannot carry (CarriedText), so
// every line is well-formed whatever it is given. The writer knows nothing of the document's
// structure: its caller decides which line comes where.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "framework/String.h"

class CReplacementFile;

class XmlWriter {
public:
    // Escaped texts and the working copy of their input live in buffers of this size.
    static constexpr size_t kEscapeBytes = 256;

    XmlWriter() = default;
    ~XmlWriter();  // Close
    XmlWriter(const XmlWriter&) = delete;
    XmlWriter& operator=(const XmlWriter&) = delete;

    // 0 when the file object was asked to open the path, -1 when an argument is missing or the
    // open raised a file error. A file that cannot be created still gives 0: the file object
    // stays unopened and the first write fails.
    int16_t Open(CReplacementFile* file, const char* path);

    // Each returns 1 when the whole line was written, 0 otherwise. After a failed write the file
    // object is given up and every later write fails too. The line is assembled in `line` from
    // its first byte; a text or attribute value too long for it is cut on a character boundary,
    // never inside an entity. A line whose fixed parts do not fit is not written (0).
    int WriteRaw(const char* text);
    int StartElement(std::span<char> line, const char* name, int depth, const char* attrName1 = nullptr,
                     const char* attrValue1 = nullptr, const char* attrName2 = nullptr,
                     const char* attrValue2 = nullptr);
    int WriteElement(std::span<char> line, const char* name, const char* text, int depth,
                     const char* attrName1 = nullptr, const char* attrValue1 = nullptr,
                     const char* attrName2 = nullptr, const char* attrValue2 = nullptr);
    int EndElement(std::span<char> line, const char* name, int depth);

    // The text with & > < " ' replaced by their entities and the bytes the file cannot carry
    // by what CarriedCharacter gives, in one pass, at most 255 bytes (the input is looked at up
    // to 255 bytes). Points to a buffer valid until the next call.
    const char* Escape(const char* text);

    // Lets go of the file object: one its owner has not committed is given up, so the writer
    // never publishes a file. Always 0; may be called any number of times.
    int16_t Close();

    CReplacementFile* file = nullptr;  // not owned; null before Open and after Close
    CString path;

private:
    class Line;

    void AppendAttributes(Line& out, const char* name1, const char* value1, const char* name2,
                          const char* value2, size_t tail);
    int WriteBytes(std::string_view bytes);
    int WriteLine(const Line& out);

    char m_escapeInput[kEscapeBytes] = {};
    char m_escaped[kEscapeBytes] = {};
};
