#pragma once

#include <string>

namespace ORDO {

// A text buffer borrowed, empty, from a per-thread stack of buffers for the length of a scope,
// so that the statement runner stops allocating once its buffers have grown to the sizes a
// script needs. Scopes nest; buffers are returned in reverse order of borrowing.
class ScratchText {
public:
    ScratchText();
    ~ScratchText();
    ScratchText(const ScratchText&) = delete;
    ScratchText& operator=(const ScratchText&) = delete;

    std::string& operator*() { return fText; }
    std::string* operator->() { return &fText; }

private:
    struct Stack;

    Stack& fStack;
    std::string& fText;
};

} // namespace ORDO
