#include "script/compiler.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "frame/text.h"

using namespace QVL;

PROG_COMPILER g_ProgCompiler;

namespace {

constexpr int32_t kReadMax = kProgText - 1;   // characters per read; a longer line continues

bool IsSeparator(char ch) { return ch == ' ' || ch == ',' || ch == '\t' || ch == '\n'; }
bool IsOperatorChar(char ch)
{
    return ch == '=' || ch == '+' || ch == '-' || ch == '*' || ch == '/' || ch == '%';
}

struct KEYWORD {
    const char* name;
    int32_t command;
    int32_t minTokens;   // keyword included
};
const KEYWORD kKeywords[] = {
    {"Var", PROG_VAR, 2},           {"If", PROG_IF, 4},           {"Font", PROG_FONT, 4},
    {"ImgLoad", PROG_IMGLOAD, 3},   {"ImgDraw", PROG_IMGDRAW, 4}, {"PolyLoad", PROG_POLYLOAD, 3},
    {"PolyPos", PROG_POLYPOS, 5},   {"PolyAng", PROG_POLYANG, 5}, {"PolySize", PROG_POLYSIZE, 5},
    {"PolyLight", PROG_POLYLIGHT, 3}, {"PolyMotion", PROG_POLYMOTION, 3}, {"PolyVB", PROG_POLYVB, 3},
    {"CameraS", PROG_CAMERAS, 4},   {"CameraE", PROG_CAMERAE, 4}, {"LightPos", PROG_LIGHTPOS, 4},
    {"Key", PROG_KEY, 2},           {"Folder", PROG_FOLDER, 2},   {"Go", PROG_GO, 2},
    {"ScreenDraw", PROG_SCREENDRAW, 1},
};

const KEYWORD* FindKeyword(const char* t)
{
    for (const KEYWORD& k : kKeywords)
        if (std::strcmp(k.name, t) == 0) return &k;
    return nullptr;
}

struct KEY_NAME {
    const char* name;
    int32_t code;
};
const KEY_NAME kKeyNames[] = {
    {"Up", 38},       {"Right", 39},    {"Down", 40},     {"Left", 37},     {"Piriodo", 110},
    {"Purasu", 107},  {"Mainasu", 109}, {"Kakeru", 106},  {"Waru", 111},    {"NumLock", 144},
    {"Esc", 27},      {"Kanji", 229},   {"Tab", 9},       {"Caps", 240},    {"Shift", 16},
    {"Ctrl", 17},     {"Space", 32},    {"Enter", 13},    {"Bs", 8},        {"PageUp", 33},
    {"PageDown", 34}, {"Insert", 45},   {"Home", 36},     {"Delete", 46},   {"End", 35},
};

// A token read as a number (strtod's reading of its start); false when nothing of it reads.
bool ReadNumber(const char* t, float* out)
{
    errno = 0;
    char* end = nullptr;
    double d = std::strtod(t, &end);
    if (end == t) {
        *out = 0.0f;
        return false;
    }
    // Out-of-range doubles become infinities rather than an undefined conversion.
    if (d > 3.4e38) *out = __builtin_inff();
    else if (d < -3.4e38) *out = -__builtin_inff();
    else *out = (float)d;
    return true;
}

// A token read as a whole number (strtol's reading of its start, held to int32).
bool ReadWhole(const char* t, int32_t* out)
{
    char* end = nullptr;
    long long v = std::strtoll(t, &end, 10);
    if (end == t) {
        *out = 0;
        return false;
    }
    *out = v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : (int32_t)v;
    return true;
}

int32_t FindVar(const VM& vm, const char* name)
{
    const int32_t n = Vm_VarCount(&vm);
    for (int32_t i = 0; i < n; ++i)
        if (std::strcmp(vm.varNames[i], name) == 0) return i;
    return -1;
}

int32_t FindLabel(const VM& vm, const char* name)
{
    const int32_t n = Vm_LabelCount(&vm);
    for (int32_t i = 0; i < n; ++i)
        if (std::strcmp(vm.labelNames[i], name) == 0) return i;
    return -1;
}

void AddError(PROG_COMPILER& c, int32_t line, const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
void AddError(PROG_COMPILER& c, int32_t line, const char* fmt, ...)
{
    PROG_ERROR e;
    e.line = line + 1;
    va_list args;
    va_start(args, fmt);
    Str_FormatV(e.text, sizeof e.text, fmt, args);
    va_end(args);
    c.errors.push_back(e);
}

// One compiled line: the operand helpers write the block's slots and note what does not resolve.
struct LINE_COMPILE {
    PROG_COMPILER& c;
    VM& vm;
    PROG_BLOCK& b;
    int32_t n;
    const PROG_LINE& L;

    const char* Tok(int32_t k) const { return k < L.tokenCount ? L.tokens[k] : ""; }

    // A declared variable into r[k], else the token as a literal into f[k].
    void Value(int32_t k)
    {
        const char* t = Tok(k);
        const int32_t v = k < L.tokenCount ? L.refs[k] : -1;
        if (v >= 0) {
            b.r[n][k] = v;
            return;
        }
        b.r[n][k] = -1;
        if (!ReadNumber(t, &b.f[n][k]) && k < L.tokenCount)
            AddError(c, n, "%d行目: 変数 %s は宣言されていません。", n + 1, t);
    }
    // Token k read as a number into f[slot] (a variable name reads as 0).
    void Number(int32_t k, int32_t slot)
    {
        const char* t = Tok(k);
        if (!ReadNumber(t, &b.f[n][slot]) && k < L.tokenCount)
            AddError(c, n, "%d行目: %s は数値ではありません。", n + 1, t);
    }
    void Whole(int32_t k, int32_t slot)
    {
        int32_t v = 0;
        const char* t = Tok(k);
        if (!ReadWhole(t, &v) && k < L.tokenCount) AddError(c, n, "%d行目: %s は整数ではありません。", n + 1, t);
        b.f[n][slot] = (float)v;
    }
    void Text(int32_t k) { Str_CopyN(b.text[n], kProgText, Tok(k)); }
};

void Declare(PROG_COMPILER& c, VM& vm, int32_t line, const char* name)
{
    if (FindVar(vm, name) >= 0) return;
    const int32_t i = Vm_VarCount(&vm);
    if (i >= kVmVars) {
        AddError(c, line, "%d行目: 変数は %d 個までです。%s は宣言されません。", line + 1, kVmVars, name);
        return;
    }
    Str_CopyN(vm.varNames[i], kProgText, name);
    vm.varKinds[i] = 0;
    vm.varValues[i] = 0.0f;
    vm.varTexts[i][0] = 0;
    vm.varCount = i + 1;
}

void CollectLabel(PROG_COMPILER& c, VM& vm, PROG_BLOCK& b, int32_t n)
{
    PROG_LINE& L = c.lines[n];
    Prog_Tokenize(L, c.lineBuf);
    if (L.tokenCount < 1 || L.tokens[0][0] != '*') return;
    b.command[n] = PROG_LABEL;
    if (FindLabel(vm, L.tokens[0]) >= 0) return;   // the first one wins
    const int32_t i = Vm_LabelCount(&vm);
    if (i >= kVmLabels) {
        AddError(c, n, "%d行目: ラベルは %d 個までです。%s は登録されません。", n + 1, kVmLabels, L.tokens[0]);
        return;
    }
    Str_CopyN(vm.labelNames[i], kProgText, L.tokens[0]);
    vm.labelLines[i] = n;
    vm.labelCount = i + 1;
}

// Pairs every If and Key with the End that closes it, counting the If and Key lines in between.
void MatchEnds(PROG_COMPILER& c, int32_t lines)
{
    int32_t open[kProgLines];
    int32_t depth = 0;
    for (int32_t n = 0; n < lines; ++n) {
        c.endOf[n] = -1;
        const PROG_LINE& L = c.lines[n];
        if (L.tokenCount < 1) continue;
        const char* t0 = L.tokens[0];
        if (std::strcmp(t0, "If") == 0 || std::strcmp(t0, "Key") == 0) {
            open[depth++] = n;
        } else if (std::strcmp(t0, "End") == 0) {
            if (depth > 0) c.endOf[open[--depth]] = n;
            else AddError(c, n, "%d行目: End に対応する If または Key がありません。", n + 1);
        }
    }
    for (int32_t i = 0; i < depth; ++i)
        AddError(c, open[i], "%d行目: %s に対応する End がありません。", open[i] + 1, c.lines[open[i]].tokens[0]);
}

int32_t EndTarget(const PROG_COMPILER& c, int32_t n) { return c.endOf[n] >= 0 ? c.endOf[n] : n + 2; }

void CompileLine(PROG_COMPILER& c, VM& vm, PROG_BLOCK& b, int32_t n)
{
    PROG_LINE& L = c.lines[n];
    for (int32_t i = 0; i < L.tokenCount; ++i) {
        L.refs[i] = FindVar(vm, L.tokens[i]);
        if (IsOperatorChar(L.tokens[i][0])) L.refs[i] = -2;
    }
    if (L.tokenCount < 1 || b.command[n] == PROG_LABEL) return;
    LINE_COMPILE lc{c, vm, b, n, L};
    const char* t0 = L.tokens[0];
    const KEYWORD* kw = FindKeyword(t0);
    if (!kw) {
        const int32_t N = L.tokenCount;
        const bool assignForm = (N == 3 && L.refs[1] == -2) || (N == 5 && std::strcmp(L.tokens[1], "=") == 0);
        if (assignForm && L.refs[0] < 0) {
            AddError(c, n, "%d行目: 変数 %s は宣言されていません。", n + 1, t0);
            return;
        }
        if (N == 3 && L.refs[0] >= 0 && L.refs[1] == -2) {
            b.command[n] = PROG_ASSIGN;
            b.f[n][0] = (float)L.refs[0];
            lc.Number(2, 2);
        } else if (N == 5 && L.refs[0] >= 0 && std::strcmp(L.tokens[1], "=") == 0 && L.refs[2] != -2 &&
                   L.refs[3] == -2 && L.refs[4] != -2) {
            b.command[n] = PROG_ARITH;
            b.r[n][0] = L.refs[0];
            lc.Value(2);
            switch (L.tokens[3][0]) {
                case '+': b.f[n][3] = PROG_OP_ADD; break;
                case '-': b.f[n][3] = PROG_OP_SUB; break;
                case '*': b.f[n][3] = PROG_OP_MUL; break;
                case '/': b.f[n][3] = PROG_OP_DIV; break;
                case '%': b.f[n][3] = PROG_OP_MOD; break;
                default:
                    AddError(c, n, "%d行目: 演算子 %s は使えません。", n + 1, L.tokens[3]);
                    break;
            }
            lc.Value(4);
        } else if (assignForm) {
            // x = a + -3: a negative literal reads as an operator, so the line cannot compute.
            AddError(c, n, "%d行目: この式は計算できません。", n + 1);
        }
        return;
    }
    if (L.tokenCount < kw->minTokens) {
        // Missing operands read as empty tokens; the line still has its keyword's meaning.
        AddError(c, n, "%d行目: %s の引数が足りません。", n + 1, t0);
    }
    b.command[n] = kw->command;
    switch (kw->command) {
        case PROG_VAR:
            if (L.tokenCount >= 2) Declare(c, vm, n, L.tokens[1]);
            break;
        case PROG_IF: {
            lc.Value(1);
            const char op = lc.Tok(2)[0];
            if (op == '=') b.f[n][2] = PROG_CMP_EQ;
            else if (op == '>') b.f[n][2] = PROG_CMP_GT;
            else if (op == '<') b.f[n][2] = PROG_CMP_LT;
            else if (L.tokenCount > 2)
                AddError(c, n, "%d行目: 比較 %s は使えません (=, >, < のどれかです)。", n + 1, lc.Tok(2));
            lc.Value(3);
            b.f[n][4] = (float)EndTarget(c, n);
            break;
        }
        case PROG_FONT:
            lc.Number(1, 0);
            lc.Number(2, 1);
            lc.Text(3);
            break;
        case PROG_IMGLOAD:
            lc.Number(1, 0);
            lc.Text(2);
            break;
        case PROG_POLYLOAD:
            lc.Number(1, 1);
            lc.Text(2);
            break;
        case PROG_IMGDRAW:
            lc.Whole(1, 1);
            lc.Value(2);
            lc.Whole(3, 3);
            break;
        case PROG_POLYPOS:
        case PROG_POLYANG:
        case PROG_POLYSIZE:
            lc.Number(1, 1);
            lc.Value(2);
            lc.Value(3);
            lc.Value(4);
            break;
        case PROG_POLYLIGHT:
        case PROG_POLYMOTION:
        case PROG_POLYVB:
            lc.Number(1, 1);
            lc.Value(2);
            break;
        case PROG_CAMERAS:
        case PROG_CAMERAE:
        case PROG_LIGHTPOS:
            lc.Value(1);
            lc.Value(2);
            lc.Value(3);
            break;
        case PROG_KEY:
            b.f[n][1] = (float)Prog_KeyCode(lc.Tok(1));
            if (b.f[n][1] == 0.0f && L.tokenCount >= 2)
                AddError(c, n, "%d行目: キー名 %s はありません。", n + 1, lc.Tok(1));
            b.f[n][2] = (float)EndTarget(c, n);
            break;
        case PROG_FOLDER:
            lc.Text(1);
            break;
        case PROG_GO: {
            const int32_t label = FindLabel(vm, lc.Tok(1));
            if (label < 0) {
                b.command[n] = PROG_NOTHING;
                if (L.tokenCount >= 2) AddError(c, n, "%d行目: ラベル %s がありません。", n + 1, lc.Tok(1));
                break;
            }
            b.f[n][0] = 0.0f;
            b.f[n][1] = (float)vm.labelLines[label];
            b.f[n][2] = 0.0f;
            break;
        }
        default:
            break;
    }
}

} // namespace

void Prog_Tokenize(PROG_LINE& line, const char* text)
{
    line.tokenCount = 0;
    for (int32_t k = 0; k < kProgOperands; ++k) {
        line.tokens[k][0] = 0;
        line.refs[k] = -1;
    }
    const void* nul = text ? std::memchr(text, 0, kReadMax) : nullptr;
    const size_t len = !text ? 0 : nul ? (size_t)((const char*)nul - text) : (size_t)kReadMax;
    line.length = (int32_t)len;
    size_t p = 0;
    while (line.tokenCount < kProgOperands) {
        if (p >= len) break;
        while (p < len && (text[p] == ' ' || text[p] == '\t')) ++p;
        // A newline (or the end) where a token would start ends the line: trailing blanks add nothing.
        if (p >= len || text[p] == '\n') break;
        const size_t start = p++;
        while (p < len && !IsSeparator(text[p])) ++p;
        Str_CopyN(line.tokens[line.tokenCount], kProgText, text + start, p - start);
        ++line.tokenCount;
        if (p >= len || text[p] == '\n') break;
        ++p;
    }
}

int32_t Prog_KeyCode(const char* name)
{
    if (!name) return 0;
    const size_t len = std::strlen(name);
    if (len == 1 && name[0] >= 'A' && name[0] <= 'Z') return name[0];
    if (len == 1 && name[0] >= '0' && name[0] <= '9') return name[0];
    if (len == 4 && std::strncmp(name, "Num", 3) == 0 && name[3] >= '0' && name[3] <= '9') return 96 + (name[3] - '0');
    if ((len == 2 || len == 3) && name[0] == 'F' && name[1] >= '1' && name[1] <= '9') {
        int32_t f = name[1] - '0';
        if (len == 3) {
            if (name[2] < '0' || name[2] > '9') return 0;
            f = f * 10 + (name[2] - '0');
        }
        return f >= 1 && f <= 12 ? 111 + f : 0;
    }
    for (const KEY_NAME& k : kKeyNames)
        if (std::strcmp(k.name, name) == 0) return k.code;
    return 0;
}

bool Prog_CompileText(PROG_COMPILER& c, VM& vm, const char* text, size_t size)
{
    PROG_BLOCK* b = vm.blocks[0];
    if (!b) return false;
    c.errors.clear();
    vm.labelCount = 0;
    char name[kProgText];
    std::memcpy(name, b->name, sizeof name);
    std::memset(b, 0, sizeof *b);
    std::memcpy(b->name, name, sizeof name);

    // Lines as a text-mode read gives them: CR LF as one newline, at most 255 characters a read.
    size_t p = 0;
    int32_t lines = 0;
    while (p < size) {
        if (lines >= kProgLines) {
            AddError(c, lines, "%d行目: プログラムは %d 行までです。ここから後は読み込まれません。", lines + 1, kProgLines);
            break;
        }
        size_t len = 0;
        while (p < size && len < (size_t)kReadMax) {
            char ch = text[p++];
            if (ch == '\r' && p < size && text[p] == '\n') ch = text[p++];
            c.lineBuf[len++] = ch;
            if (ch == '\n') break;
        }
        c.lineBuf[len] = 0;
        c.curLine = lines;
        CollectLabel(c, vm, *b, lines);
        ++lines;
    }
    b->lineCount = lines;
    MatchEnds(c, lines);
    for (int32_t n = 0; n < lines; ++n) {
        c.curLine = n;
        CompileLine(c, vm, *b, n);
    }
    return true;
}
