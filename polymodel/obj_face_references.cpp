// Face references: each form is tried as a prefix of the text, the longest first.
#include "obj_face_references.h"

#include <algorithm>

#include "obj_numbers.h"

namespace {

bool expectChar(const char*& p, const char* end, char c) {
    if (p == end || *p != c) return false;
    ++p;
    return true;
}

// Tries "v/t/n", "v//n", "v/t" and "v" in this order, each as a prefix of the text.
bool parseReference(const char* begin, const char* end, CornerReference& ref) {
    ref = CornerReference{};
    const char* p = begin;
    if (!parseInteger(p, end, ref.vertex)) return false;
    const char* afterVertex = p;
    if (expectChar(p, end, '/') && parseInteger(p, end, ref.texCoord) && expectChar(p, end, '/') &&
        parseInteger(p, end, ref.normal)) {
        ref.hasTexCoord = ref.hasNormal = true;
        return true;
    }
    p = afterVertex;
    if (expectChar(p, end, '/') && expectChar(p, end, '/') && parseInteger(p, end, ref.normal)) {
        ref.hasNormal = true;
        return true;
    }
    p = afterVertex;
    if (expectChar(p, end, '/') && parseInteger(p, end, ref.texCoord)) {
        ref.hasTexCoord = true;
        return true;
    }
    return true;
}

}  // namespace

bool parseFirstReference(std::string_view line, CornerReference& ref) {
    const std::size_t afterKeyword = std::min<std::size_t>(2, line.size());
    return parseReference(line.data() + afterKeyword, line.data() + line.size(), ref);
}

void parseCornerReferences(std::string_view line, std::vector<CornerReference>& corners) {
    corners.clear();
    const char* p = line.data();
    const char* end = p + line.size();
    while (p != end && *p != ' ') ++p;  // the keyword
    CornerReference ref;
    while (p != end) {
        // Runs of blanks separate like one blank.
        while (p != end && *p == ' ') ++p;
        const char* word = p;
        while (p != end && *p != ' ') ++p;
        if (word != p && parseReference(word, p, ref)) corners.push_back(ref);
    }
}
