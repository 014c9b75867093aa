// The console when memory runs out: no exception leaves a key, a request or
// a frame, and a command that cannot get its memory says so and is followed
// by its prompt. Every operator new of this program can be made to fail.
#include <cstdlib>
#include <new>
#include <string>

#include "bridge/bridge_requests.h"
#include "test_support.h"

namespace {

// Allocations still allowed to succeed; negative: all of them.
int allocationsLeft = -1;

struct OutOfMemory {
    explicit OutOfMemory(int allowed = 0) { allocationsLeft = allowed; }
    ~OutOfMemory() { allocationsLeft = -1; }
};

}  // namespace

void* operator new(std::size_t size) {
    if (allocationsLeft == 0) throw std::bad_alloc();
    if (allocationsLeft > 0) --allocationsLeft;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return ::operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

using OutOfMemoryTest = ConsoleTest;

TEST_F(OutOfMemoryTest, CommandLineWithoutMemoryReportsAndPrompts) {
    const std::string longLine = "echo " + std::string(400, 'e');  // too long for the stack copy
    std::string line = longLine;
    {
        OutOfMemory none;
        console->execute(line.data());
    }
    EXPECT_EQ(buffer(), "\n[error] - not enough memory\ncmd=)> ");
    EXPECT_TRUE(console->inputOpen);
}

TEST_F(OutOfMemoryTest, KeysRequestsAndFramesThrowNothing) {
    writeFile(STREAM_OUT_PATH, std::string(300, 's'));
    console->showPrompt();
    type("add 1 2");
    fakePlatform().notifications.reserve(8);  // the fake's own record needs no memory then
    const char* thrown = nullptr;             // the step that let an exception out
    const char* step = "";
    {
        OutOfMemory none;
        try {
            step = "Enter";
            console->onKey(13);
            step = "print request";
            handleBridgeRequest(*console, WM_BRIDGE_PRINT);
            step = "frame";
            console->render();
            step = "cancel request";
            handleBridgeRequest(*console, WM_BRIDGE_CANCEL);
            step = "input request";
            handleBridgeRequest(*console, WM_BRIDGE_INPUT);
            step = "typed key";
            console->onKey('A');
            step = "Enter for the client";
            console->onKey(13);
            step = "pause request";
            handleBridgeRequest(*console, WM_BRIDGE_PAUSE);
        } catch (...) {
            thrown = step;
        }
    }
    EXPECT_EQ(thrown, nullptr) << "exception from: " << thrown;
    // The command ran and the line went to the client.
    EXPECT_EQ(buffer().substr(0, 27), "\ncmd=)> add 1 2\n 1 + 2 = 3\n");
    EXPECT_EQ(fileText(STREAM_IN_PATH), "a");
}

TEST_F(OutOfMemoryTest, PrintfWithoutMemoryForItsTextSaysSo) {
    const std::string big(1000, 'p');
    {
        OutOfMemory none;
        console->printf("%s.", big.c_str());
    }
    EXPECT_EQ(buffer(), "\n[error] - not enough memory");
}

TEST_F(OutOfMemoryTest, BatchWithoutMemoryReportsAndPrompts) {
    writeFile("short.txt", "add 1 2\nadd 3 4\n");
    writeFile("long.txt", "add 1 2\necho " + std::string(300, 'l') + "\nadd 3 4\n");
    struct Case {
        const char* name;
        const char* line;
        int allowed;  // allocations that succeed first
        std::string output;
    };
    const Case cases[] = {
        {"no memory for the file", "batch short.txt", 0, "\n[error] - not enough memory to read short.txt\ncmd=)> "},
        {"no memory for a long line", "batch long.txt", 1,
         "\n 1 + 2 = 3\n[error] - not enough memory\n 3 + 4 = 7\ncmd=)> "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        console->clear();
        std::string line = c.line;
        {
            OutOfMemory limited(c.allowed);
            EXPECT_NO_THROW(console->execute(line.data()));
        }
        EXPECT_EQ(buffer(), c.output);
        EXPECT_TRUE(console->inputOpen);
        console->inputOpen = false;
    }
}
