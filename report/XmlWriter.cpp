#include "report/XmlWriter.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "framework/CodePage.h"
#include "framework/ReplacementFile.h"
#include "report/CarriedText.h"

namespace {

const char kLineEnd[] = "\r\n";

// The entity for one of the five bytes XML reserves, or null for any other byte. None of the
// five is ever the second byte of a double-byte character, so double-byte text passes whole.
const char* EntityFor(char byte)
{
    switch (byte) {
    case '&': return "&amp;";
    case '>': return "&gt;";
    case '<': return "&lt;";
    case '"': return "&quot;";
    case '\'': return "&apos;";
    default: return nullptr;
    }
}

// The bytes of `input` (at most the 255 of an escaped text) escaped into `out`, one pass a
// character at a time, never more than `limit` bytes; returns how many were written. Stops
// before a character or an entity that would go beyond `limit`, and before a character that
// ends beyond the 255 bytes of input looked at. A replacement is never looked at again.
size_t EscapeInto(std::string_view input, char* out, size_t limit)
{
    size_t used = 0;
    for (size_t pos = 0; pos < input.size();) {
        const auto byte = static_cast<unsigned char>(input[pos]);
        // Printable ASCII is most of every text: it passes as it is unless XML reserves it.
        if (byte >= 0x20 && byte < 0x7F && EntityFor(input[pos]) == nullptr) {
            if (used + 1 > limit || pos + 1 > XmlWriter::kEscapeBytes - 1) break;
            out[used++] = input[pos++];
            continue;
        }
        const size_t charLength = Cp932CharLength(input, pos);
        if (pos + charLength > XmlWriter::kEscapeBytes - 1) break;
        const char* entity = charLength == 1 ? EntityFor(input[pos]) : nullptr;
        const std::string_view piece = entity ? std::string_view(entity) : CarriedCharacter(input, pos, charLength);
        if (used + piece.size() > limit) break;
        // A piece is a few bytes: copied in a loop the compiler keeps inline, as a call costs more.
        for (size_t i = 0; i < piece.size(); ++i) out[used + i] = piece[i];
        used += piece.size();
        pos += charLength;
    }
    return used;
}

// The part of a text that escaping looks at: up to its NUL, at most 256 bytes (the 256th
// tells whether the 255th starts a character that does not fit). Nothing beyond is measured.
std::string_view EscapedPart(const char* text)
{
    return {text, strnlen(text, XmlWriter::kEscapeBytes)};
}

}  // namespace

// A line assembled in the caller's buffer, always NUL-terminated. A piece that does not fit
// marks the line as spoiled instead of being cut.
class XmlWriter::Line {
public:
    explicit Line(std::span<char> buffer) : buffer_(buffer)
    {
        if (buffer_.empty()) spoiled_ = true;
        else buffer_[0] = '\0';
    }

    // The pieces are a few bytes each: copied in a loop the compiler keeps inline, as a call
    // to the C library's memcpy costs more than such a copy.
    void Append(std::string_view piece)
    {
        if (spoiled_ || piece.size() > Room()) {
            spoiled_ = true;
            return;
        }
        for (const char byte : piece) buffer_[used_++] = byte;
        buffer_[used_] = '\0';
    }

    // The text escaped straight into the line, leaving room for `tail` more bytes; no text is
    // a piece too long for the line, it is cut to fit instead.
    void AppendEscaped(const char* text, size_t tail)
    {
        if (spoiled_ || text == nullptr) return;
        const size_t limit = std::min(RoomBefore(tail), kEscapeBytes - 1);
        used_ += EscapeInto(EscapedPart(text), buffer_.data() + used_, limit);
        buffer_[used_] = '\0';
    }

    void AppendTabs(int depth)
    {
        for (int i = 0; i < depth && !spoiled_; ++i) Append("\t");
    }

    // What is left for a text when `tail` bytes must still follow it.
    size_t RoomBefore(size_t tail) const { return Room() > tail ? Room() - tail : 0; }
    bool IsSpoiled() const { return spoiled_; }
    std::string_view Text() const { return {buffer_.data(), used_}; }

private:
    size_t Room() const { return spoiled_ ? 0 : buffer_.size() - 1 - used_; }

    std::span<char> buffer_;
    size_t used_ = 0;
    bool spoiled_ = false;
};

XmlWriter::~XmlWriter()
{
    Close();
}

int16_t XmlWriter::Open(CReplacementFile* fileObject, const char* outputPath)
{
    if (fileObject == nullptr || outputPath == nullptr) return -1;
    file = fileObject;
    path = outputPath;
    file->Open(outputPath);  // a file that cannot be created shows at the first write
    return 0;
}

int XmlWriter::WriteRaw(const char* text)
{
    return text == nullptr ? 0 : WriteBytes(text);
}

int XmlWriter::WriteBytes(std::string_view bytes)
{
    if (file == nullptr) return 0;
    if (file->Write(bytes.data(), static_cast<UINT>(bytes.size()))) return 1;
    file->Abandon();
    return 0;
}

// The line knows its length: measuring it again would read every byte of the file once more.
int XmlWriter::WriteLine(const Line& out)
{
    return out.IsSpoiled() ? 0 : WriteBytes(out.Text());
}

// Attributes: the first only with both its name and value, the second only after the first
// and with both its name and value. `tail` bytes must still fit after the attributes.
void XmlWriter::AppendAttributes(Line& out, const char* name1, const char* value1, const char* name2,
                                 const char* value2, size_t tail)
{
    if (name1 == nullptr || value1 == nullptr) return;
    const bool second = name2 != nullptr && value2 != nullptr;
    // The second attribute's name, equals sign and quotes must still fit after the first value.
    const size_t secondFixed = second ? std::strlen(name2) + 4 : 0;
    out.Append(" ");
    out.Append(name1);
    out.Append("=\"");
    out.AppendEscaped(value1, 1 + secondFixed + tail);
    out.Append("\"");
    if (!second) return;
    out.Append(" ");
    out.Append(name2);
    out.Append("=\"");
    out.AppendEscaped(value2, 1 + tail);
    out.Append("\"");
}

int XmlWriter::StartElement(std::span<char> line, const char* name, int depth, const char* attrName1,
                            const char* attrValue1, const char* attrName2, const char* attrValue2)
{
    if (name == nullptr) return 0;
    Line out(line);
    out.AppendTabs(depth);
    out.Append("<");
    out.Append(name);
    AppendAttributes(out, attrName1, attrValue1, attrName2, attrValue2, std::strlen(">\r\n"));
    out.Append(">");
    out.Append(kLineEnd);
    return WriteLine(out);
}

int XmlWriter::WriteElement(std::span<char> line, const char* name, const char* text, int depth,
                            const char* attrName1, const char* attrValue1, const char* attrName2,
                            const char* attrValue2)
{
    if (name == nullptr) return 0;
    const std::string_view tag(name);
    const size_t endTag = tag.size() + std::strlen("</>\r\n");
    Line out(line);
    out.AppendTabs(depth);
    out.Append("<");
    out.Append(tag);
    AppendAttributes(out, attrName1, attrValue1, attrName2, attrValue2, 1 + endTag);
    out.Append(">");
    out.AppendEscaped(text, endTag);
    out.Append("</");
    out.Append(tag);
    out.Append(">");
    out.Append(kLineEnd);
    return WriteLine(out);
}

int XmlWriter::EndElement(std::span<char> line, const char* name, int depth)
{
    if (name == nullptr) return 0;
    Line out(line);
    out.AppendTabs(depth);
    out.Append("</");
    out.Append(name);
    out.Append(">");
    out.Append(kLineEnd);
    return WriteLine(out);
}

// The text may be an earlier result of Escape: it is escaped from a copy.
const char* XmlWriter::Escape(const char* text)
{
    m_escaped[0] = '\0';
    if (text == nullptr) return m_escaped;
    const std::string_view part = EscapedPart(text);
    std::memcpy(m_escapeInput, part.data(), part.size());
    const size_t used = EscapeInto({m_escapeInput, part.size()}, m_escaped, kEscapeBytes - 1);
    m_escaped[used] = '\0';
    return m_escaped;
}

int16_t XmlWriter::Close()
{
    if (file != nullptr) {
        file->Abandon();
        file = nullptr;
    }
    return 0;
}
