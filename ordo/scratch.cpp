#include "ordo/scratch.h"

#include <memory>
#include <vector>

namespace ORDO {

namespace {

// Buffers that grew larger than this give their memory back when they are returned.
constexpr size_t kMaxKeptCapacity = 64 * 1024;

} // namespace

// One buffer per nesting level in use; each stays in place while the stack grows.
struct ScratchText::Stack {
    std::vector<std::unique_ptr<std::string>> buffers;
    size_t used = 0;

    static Stack& OfThisThread()
    {
        thread_local Stack stack;
        return stack;
    }

    std::string& Borrow()
    {
        if (used == buffers.size())
            buffers.push_back(std::make_unique<std::string>());
        std::string& text = *buffers[used++];
        text.clear();
        return text;
    }
};

ScratchText::ScratchText() : fStack(Stack::OfThisThread()), fText(fStack.Borrow()) {}

ScratchText::~ScratchText()
{
    --fStack.used;
    if (fText.capacity() > kMaxKeptCapacity)
        std::string().swap(fText);
}

} // namespace ORDO
