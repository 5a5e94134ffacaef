// The vertex references of OBJ face lines ("v", "v/t", "v//n", "v/t/n"), as both passes of the
// loader read them: the first reference decides whether a face line counts and which kinds of
// index the faces carry; the corners are the blank-separated references that follow "f".
#pragma once

#include <string_view>
#include <vector>

// One corner of a face line as written in the file: indices from 1, or negative (relative).
// Only the kinds its form names are set.
struct CornerReference {
    long long vertex = 0;
    long long texCoord = 0;
    long long normal = 0;
    bool hasTexCoord = false;
    bool hasNormal = false;
};

// The face line's first reference, read from its third character on (after "f "), where white
// space of any kind may come before it. False when it has no leading integer: the line is then
// no face, in either pass.
bool parseFirstReference(std::string_view line, CornerReference& ref);

// Replaces `corners` by the references of the line's blank-separated words after its keyword,
// in order. Words that are no reference (a trailing carriage return, stray text) make no corner.
void parseCornerReferences(std::string_view line, std::vector<CornerReference>& corners);
