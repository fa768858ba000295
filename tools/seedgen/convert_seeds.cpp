// Seeds of the importer fuzzers: small files of each format as writers lay them out, and what our
// LWO and MX writers make of a grid of quads.
#include <string>

#include "convert/lwo_file.h"
#include "convert/mx_file.h"
#include "model/model3.h"
#include "seedgen.h"
#include "support/model_builders.h"

using namespace QVL;

namespace {

std::vector<uint8_t> Text(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

void WriteRokSeeds(SeedSink& sink)
{
    std::string t = "ROK\r\nPOINT\r\n";
    const char* pts[4] = {"0\r\n0\r\n0", "1\r\n0\r\n0", "1\r\n1\r\n0", "0\r\n1\r\n0"};
    for (int i = 0; i < 4; ++i) t += std::to_string(i + 1) + "\r\n0\r\n0\r\n0\r\n0\r\n" + pts[i] + "\r\n";
    t += "LINE0\r\n1\r\n2\r\n0\r\n0\r\n2\r\n3\r\n0\r\n0\r\n3\r\n4\r\n0\r\n0\r\n4\r\n1\r\n0\r\n0\r\n";
    t += "FACE0\r\n4\r\n1\r\n1\r\n1\r\n2\r\n3\r\n4\r\n3\r\n0\r\n2\r\n1\r\n2\r\n3\r\nEND00\r\nPALC0\r\n13\r\n0\r\n";
    for (int i = 0; i < 13; ++i) t += "10\r\n20\r\n30\r\n40\r\n50\r\n60\r\n0\r\n";
    t += "ENDP0\r\n";
    sink.Write("square", Text(t));
}

void WriteDxfSeeds(SeedSink& sink)
{
    std::string face = "  0\n3DFACE\n  8\n0\n 62\n1\n";
    const char* v[12] = {"0", "0", "0", "1", "0", "0", "1", "1", "0", "0", "1", "-0.10000000149011612"};
    for (int i = 0; i < 12; ++i) face += " " + std::to_string((i % 3 + 1) * 10 + i / 3) + "\n" + v[i] + "\n";
    sink.Write("faces", Text("  0\nSECTION\n  2\nENTITIES\n" + face + face + "  0\nENDSEC\n  0\nEOF\n"));
}

void WriteMqoSeeds(SeedSink& sink)
{
    std::string t =
        "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\nMaterial 2 {\r\n"
        "\t\"a\" col(1.000 0.500 0.250 1.000) tex(\"C:\\t\\x.bmp\")\r\n\t\"b\" col(1 1 1 1)\r\n}\r\n"
        "Object \"o\" {\r\n\tmirror 1\r\n\tvertex 4 {\r\n\t\t0 0 0\r\n\t\t1 0 0\r\n\t\t1 1 0\r\n\t\t0 1 0\r\n\t}\r\n"
        "\tface 3 {\r\n\t\t3 V(0 1 2) M(0) UV(0 0 1 0 1 1)\r\n\t\t4 V(0 1 2 3) M(1)\r\n\t\t5 V(0 1 2 3 0) M(-1)\r\n\t}\r\n"
        "}\r\nEof\r\n";
    sink.Write("doc", Text(t));
}

MODEL3* Grid()
{
    MODEL3* m = NewRecord();
    MakeQuadGrid(m, 3, 2, 2);
    for (int32_t i = 0; i < m->colorCount; ++i) m->colors[(size_t)i] = RGBA{(float)(i * 9 % 256), 20, 30, 255};
    m->textures[1].used = 1;
    m->textures[1].file[0] = 'a';
    m->groups[1].texture = 1;
    return m;
}

void WriteLwoSeeds(SeedSink& sink)
{
    MODEL3* m = Grid();
    std::vector<uint8_t> out;
    if (Lwo_Write(m, out)) sink.Write("grid", out);
    Model3_Free(m);
}

void WriteMxSeeds(SeedSink& sink)
{
    MODEL3* m = Grid();
    std::vector<uint8_t> out;
    if (Mx_Write(m, out)) sink.Write("grid", out);
    Model3_Free(m);
}

SeedKind s_rok("rok", WriteRokSeeds);
SeedKind s_dxf("dxf", WriteDxfSeeds);
SeedKind s_mqo("mqo", WriteMqoSeeds);
SeedKind s_lwo("lwo", WriteLwoSeeds);
SeedKind s_mx("mx", WriteMxSeeds);

} // namespace
