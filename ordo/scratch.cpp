#include "ordo/scratch.h"

#include <deque>

namespace ORDO {

namespace {

// Buffers that grew larger than this give their memory back when they are returned.
constexpr size_t kMaxKeptCapacity = 64 * 1024;

// One buffer per nesting level in use; a deque keeps the buffers in place while it grows.
struct ScratchStack {
    std::deque<std::string> buffers;
    size_t used = 0;
};

ScratchStack& Stack()
{
    thread_local ScratchStack stack;
    return stack;
}

std::string& Borrow()
{
    ScratchStack& stack = Stack();
    if (stack.used == stack.buffers.size())
        stack.buffers.emplace_back();
    std::string& text = stack.buffers[stack.used++];
    text.clear();
    return text;
}

} // namespace

ScratchText::ScratchText() : fText(Borrow()) {}

ScratchText::~ScratchText()
{
    --Stack().used;
    if (fText.capacity() > kMaxKeptCapacity)
        std::string().swap(fText);
}

} // namespace ORDO
