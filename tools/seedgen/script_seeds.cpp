// Seed sources for the script fuzzer: every statement, loops, nesting, and each fault the compiler
// reports.
#include <string>

#include "seedgen.h"

namespace {

void Put(SeedSink& sink, const char* name, const std::string& text)
{
    sink.Write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

void WriteScriptSeeds(SeedSink& sink)
{
    Put(sink, "loop.txt", "Var x\n*l\nx = x + 1\nGo *l\n");
    Put(sink, "all.txt",
        "Var a\r\nVar b\r\n*top\r\na = 2.5\r\nb = a % 3\r\nIf a > b\r\n Key Space\r\n  Font 5 5 hit%s\r\n End\r\n"
        "End\r\nImgLoad 0 p.bmp\r\nImgDraw 0 a 20\r\nPolyLoad 1 m.qvp\r\nPolyPos 1 a b 0\r\nPolyAng 1 0 a 0\r\n"
        "PolySize 1 1 1 1\r\nPolyLight 1 1\r\nPolyMotion 1 0\r\nPolyVB 1 3\r\nCameraS 0 0 -50\r\n"
        "CameraE 0 0 0\r\nLightPos -500 500 -500\r\nFolder sub\r\nScreenDraw\r\nGo *top\r\n");
    Put(sink, "faults.txt",
        "y = 5\nVar x\nx = x / 0\nx = x % 0\nx = 1e30\nImgDraw 2000 x x\nGo *none\nIf x ! 1\nKey Foo\nEnd\nEnd\n");
    Put(sink, "long.txt", "Font 1 1 " + std::string(400, 'z') + "\n*" + std::string(300, 'l') + "\n");
}

SeedKind s_kind("script", WriteScriptSeeds);

} // namespace
