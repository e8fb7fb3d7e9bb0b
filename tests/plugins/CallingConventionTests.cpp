// The 32-bit plug-in boundary: every export of our plug-ins must be stdcall with the argument
// list other hosts call it with, so that the callee removes exactly its arguments from the
// stack. A cdecl export, or one with an argument too many or too few, leaves the caller's
// stack off by some bytes; the host may survive that by chance, third-party hosts will not.
// Each export is called here through a small assembly routine that measures the stack.
#include <gtest/gtest.h>
#include <cstdint>
#include <string>
#include <type_traits>
#include "plugins/SusiePlugin.h"
#include "tests/fixture/FixtureControl.h"
#include "tests/support/TestSupport.h"

#if defined(__i386__)

// int CallMeasuringStack(void* function, const uint32_t* args, int count, int* result):
// pushes args[count-1] .. args[0], calls the function, stores its return value in *result
// and returns how many bytes of the arguments the callee left on the stack (0 for stdcall
// with the right argument count; negative when it removed more than it was given).
extern "C" int CallMeasuringStack(void* function, const uint32_t* args, int count, int* result);
asm(R"(
    .text
    .globl _CallMeasuringStack
_CallMeasuringStack:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    movl %esp, %edi
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  call *8(%ebp)
    movl 20(%ebp), %ecx
    movl %eax, (%ecx)
    movl %edi, %eax
    subl %esp, %eax
    movl %edi, %esp
    popl %ebx
    popl %edi
    popl %esi
    popl %ebp
    ret
)");

// The host's own declarations must say stdcall as well.
static_assert(std::is_same_v<GetArchiveInfoFn, int(__stdcall*)(LPCSTR, LONG_PTR, unsigned int, HLOCAL*)>);
static_assert(std::is_same_v<GetFileFn, int(__stdcall*)(LPCSTR, LONG_PTR, LPSTR, unsigned int,
                                                        SpiProgressCallback, LONG_PTR)>);
static_assert(std::is_same_v<SpiProgressCallback, int(__stdcall*)(int, int, LONG_PTR)>);
static_assert(std::is_same_v<GetArchiveListWFn, int(__stdcall*)(LPCWSTR, LONG_PTR, unsigned int, HLOCAL*)>);
static_assert(std::is_same_v<GetFileWFn, int(__stdcall*)(LPCWSTR, LONG_PTR, LPWSTR, unsigned int,
                                                         SpiProgressCallback, LONG_PTR)>);

namespace {

uint32_t Arg(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

class PluginExports : public testing::Test {
protected:
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }

    void Load(const std::string& path) {
        module_ = LoadLibraryA(path.c_str());
        ASSERT_NE(nullptr, module_) << path;
    }

    // Calls the export with the given 32-bit arguments; fails the test when the stack is off.
    void ExpectStdcall(const char* name, std::initializer_list<uint32_t> args) {
        void* function = reinterpret_cast<void*>(GetProcAddress(module_, name));
        ASSERT_NE(nullptr, function) << name << " is not exported under its plain name";
        int result = 0;
        int leftOver = CallMeasuringStack(function, args.begin(), static_cast<int>(args.size()), &result);
        EXPECT_EQ(0, leftOver) << name << " left " << leftOver << " bytes of its " << 4 * args.size()
                               << " bytes of arguments on the stack";
    }

    // The archive exports, called on a file that does not exist (every plug-in refuses it).
    void ExpectArchiveExports() {
        char text[256] = {};
        char header[SpiHeaderBufferSize] = {};
        ArchiveEntry entry = {};
        HLOCAL block = nullptr;
        const char* missing = "Z:\\no\\such\\archive.bin";
        ExpectStdcall("GetPluginInfo", {0, Arg(text), sizeof text});
        ExpectStdcall("IsSupported", {Arg(missing), Arg(header)});
        ExpectStdcall("GetArchiveInfo", {Arg(missing), 0, 0, Arg(&block)});
        ExpectStdcall("GetFileInfo", {Arg(missing), 0, Arg("a.txt"), 0, Arg(&entry)});
        ExpectStdcall("GetFile", {Arg(missing), 0, Arg(&block), SpiOutputToMemory, 0, 0});
        if (block) LocalFree(block);
    }

    // The same for the wide exports and GetArchiveListW, which our plug-ins have beside them.
    void ExpectWideExports() {
        wchar_t text[256] = {};
        char header[SpiHeaderBufferSize] = {};
        ArchiveEntryW entry = {};
        HLOCAL block = nullptr;
        const wchar_t* missing = L"Z:\\no\\such\\archive.bin";
        ExpectStdcall("GetPluginInfoW", {0, Arg(text), 256});
        ExpectStdcall("IsSupportedW", {Arg(missing), Arg(header)});
        ExpectStdcall("GetArchiveInfoW", {Arg(missing), 0, 0, Arg(&block)});
        ExpectStdcall("GetArchiveListW", {Arg(missing), 0, 0, Arg(&block)});
        ExpectStdcall("GetFileInfoW", {Arg(missing), 0, Arg(L"a.txt"), 0, Arg(&entry)});
        ExpectStdcall("GetFileW", {Arg(missing), 0, Arg(&block), SpiOutputToMemory, 0, 0});
        if (block) LocalFree(block);
    }

    HMODULE module_ = nullptr;
};

TEST_F(PluginExports, TheZipPluginIsStdcall) {
    Load(testsupport::ExeFolder() + "..\\spi\\zip\\" + testsupport::PluginFile("Zip"));
    ExpectArchiveExports();
    ExpectWideExports();
}

TEST_F(PluginExports, TheLhaPluginIsStdcall) {
    Load(testsupport::ExeFolder() + "..\\spi\\lha\\" + testsupport::PluginFile("Lha"));
    ExpectArchiveExports();
    ExpectWideExports();
}

TEST_F(PluginExports, The7zPluginIsStdcall) {
    Load(testsupport::ExeFolder() + "..\\spi\\sevenzip\\" + testsupport::PluginFile("7z"));
    ExpectArchiveExports();
    ExpectWideExports();
}

TEST_F(PluginExports, TheTarPluginIsStdcall) {
    Load(testsupport::ExeFolder() + "..\\spi\\tar\\" + testsupport::PluginFile("Tar"));
    ExpectArchiveExports();
    ExpectWideExports();
}

TEST_F(PluginExports, TheArchiveFixtureIsStdcall) {
    Load(fixture::FixturePath());
    ExpectArchiveExports();
}

TEST_F(PluginExports, TheImageFixtureIsStdcall) {
    Load(fixture::FixturePath("fixture_image"));
    HLOCAL info = nullptr, bitmap = nullptr;
    char header[SpiHeaderBufferSize] = {};
    char picture[64] = {};
    ExpectStdcall("IsSupported", {Arg("a.bmp"), Arg(header)});
    ExpectStdcall("GetPictureInfo", {Arg(picture), sizeof picture, 1, Arg(picture)});
    ExpectStdcall("GetPicture", {Arg(picture), sizeof picture, 1, Arg(&info), Arg(&bitmap), 0, 0});
    ExpectStdcall("GetPreview", {Arg(picture), sizeof picture, 1, Arg(&info), Arg(&bitmap), 0, 0});
}

}  // namespace

#else

TEST(PluginExports, OnlyThe32BitBuildHasCallingConventions) {
    GTEST_SKIP() << "x86-64 has one calling convention; the 32-bit build checks the exports";
}

#endif
