// The file commands: the generic model loader's choice by extension, its load-then-release order,
// the QVP, QVE and QVA commands, and the formats that are not available yet.
#include <cstring>
#include <string>
#include <vector>

#include "model/obj3.h"
#include "effect/effect.h"
#include "effect/effect_edit_hooks.h"
#include "frame/bytes.h"
#include "frame/services.h"
#include "model/model2.h"
#include "model/model_load.h"
#include "model/model_table.h"
#include "model/obj2.h"
#include "model/obj3.h"
#include "model/qvp_file.h"
#include "shell/file_commands.h"
#include "shell_fixture.h"
#include "support/effect_fixtures.h"
#include "support/model_builders.h"
#include "support/qvp_fixtures.h"
#include "model/model_expect.h"

namespace {

const std::string kNothingToSave = "保存するデータがありません。";

std::string NotAvailable(const char* format)
{
    return std::string(format) + " 形式は、このバージョンではまだ使用できません。";
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

class FileCommands : public ShellTest {
protected:
    char oldDir[512] = {};
    std::string dir;
    std::vector<int32_t> savedObjects, savedModels;
    int32_t savedDefaultModel = 0;

    void SetUp() override
    {
        ShellTest::SetUp();
        Model3_ReleaseAll();
        g_Lib.allocArrays = 0;
        savedObjects = g_LayerObjectIds;
        savedModels = g_LayerModelIds;
        savedDefaultModel = g_DefaultModelId;
        for (UNDO_HISTORY& h : g_UndoHistories) h.position = h.last = -1;
        Effect_EraseAllInstances();
        Effect_EraseAllData();
        g_CurEffectId = g_CurEffectInstIndex = -1;
        g_CurObj2Id = -1;
        ASSERT_TRUE(Svc_GetCurrentDirectory(oldDir, sizeof oldDir));
        dir = Rec_TempDir();
        ASSERT_TRUE(Svc_SetCurrentDirectory(dir.c_str()));
    }
    void TearDown() override
    {
        Svc_SetCurrentDirectory(oldDir);
        Model3_ReleaseAll();
        g_Lib.allocArrays = 0;
        g_LayerObjectIds = savedObjects;
        g_LayerModelIds = savedModels;
        g_DefaultModelId = savedDefaultModel;
        g_CurLayer = 0;
        Effect_EraseAllInstances();
        Effect_EraseAllData();
        g_CurEffectId = g_CurEffectInstIndex = -1;
        g_CurObj2Id = -1;
        g_Mode = MODE_EFFECT_EDIT;
        g_Screen = SCREEN_START;
        Mode_UpdateCurrent();
        ShellTest::TearDown();
    }

    static void Write(const char* name, const std::vector<uint8_t>& bytes)
    {
        ASSERT_TRUE(QVL::File_WriteAll(name, bytes.data(), bytes.size())) << name;
    }
    static std::vector<uint8_t> Read(const char* name)
    {
        std::vector<uint8_t> bytes;
        QVL::File_ReadAll(name, bytes);
        return bytes;
    }
    // The effect and 2D-object readers join the folder and the name with the studio's '\\', which
    // a native file system takes as part of a name.
    std::string Joined(const char* name) const { return dir + "\\" + name; }
    static std::vector<uint8_t> CubeFile()
    {
        QVL::MODEL3* m = NewRecord();
        MakeCube(m);
        std::vector<uint8_t> bytes = SaveBytes(m);
        Model3_Free(m);
        return bytes;
    }
    // A ready model in a new slot, as the editors keep one.
    static int32_t ReadyModel()
    {
        int32_t id = Model3_Create();
        MakeCube(Model3_GetById(id));
        Model3_SetLoaded(Model3_GetById(id));
        return id;
    }
    // The 3D polygon screen with one layer holding a ready model.
    int32_t Enter3D()
    {
        g_Mode = MODE_3D_EDIT;
        g_Screen = SCREEN_3D_POLYGON;
        g_CurLayer = 0;
        int32_t id = ReadyModel();
        g_LayerObjectIds = {0};
        g_LayerModelIds = {id};
        Mode_UpdateCurrent();
        return id;
    }
    static bool AskedForAFile()
    {
        for (const std::string& c : UiRec().calls)
            if (c.rfind("Open", 0) == 0 || c.rfind("Save", 0) == 0) return true;
        return false;
    }
};

TEST(FileCommandPaths, SplitAtTheLastSeparator)
{
    struct Case {
        const char* path;
        bool ok;
        const char* folder;
        const char* name;
    } cases[] = {
        {"C:\\models\\cube.qvp", true, "C:\\models", "cube.qvp"},
        {"C:\\cube.qvp", true, "C:\\", "cube.qvp"},
        {"\\cube.qvp", true, "\\", "cube.qvp"},
        {"cube.qvp", true, "", "cube.qvp"},
        {"a.b\\c", true, "a.b", "c"},
        // 0x95 0x5C is one CP932 character ("表"): its second byte is no separator.
        {"C:\\\x95\x5c\\x.qvp", true, "C:\\\x95\x5c", "x.qvp"},
        {"C:\\d\\\x95\x5c.qvp", true, "C:\\d", "\x95\x5c.qvp"},
        {"", true, "", ""},
    };
    for (const Case& c : cases) {
        char folder[256], name[256];
        EXPECT_EQ(c.ok, FileCmd_SplitPath(c.path, folder, sizeof folder, name, sizeof name)) << c.path;
        EXPECT_STREQ(c.folder, folder) << c.path;
        EXPECT_STREQ(c.name, name) << c.path;
    }
    // A part that does not fit its field is refused, not cut into another name.
    std::string longFolder = "C:\\" + std::string(300, 'd') + "\\x.qvp";
    std::string longName = "C:\\d\\" + std::string(300, 'n') + ".qvp";
    char folder[256], name[256];
    EXPECT_FALSE(FileCmd_SplitPath(longFolder.c_str(), folder, sizeof folder, name, sizeof name));
    EXPECT_FALSE(FileCmd_SplitPath(longName.c_str(), folder, sizeof folder, name, sizeof name));
}

TEST_F(FileCommands, GenericLoaderChoosesByExtension)
{
    struct Case {
        const char* name;
        bool loads;
        std::string message;  // empty: none
    } cases[] = {
        {"cube.qvp", true, ""},
        {"CUBE.QVP", true, ""},
        {"\x95\x5c.qvp", true, ""},
        // A QVP file under another format's name: that format's reader refuses it.
        {"a.dxf", false, "DXF形式のファイルが壊れているので"},
        {"a.LWO", false, "LWO形式のファイルが壊れているので"},
        {"a.mqo", false, "MQO形式のファイルが壊れているので"},
        {"a.mx", false, "MX形式のファイルが壊れているので"},
        {"a.rok", false, "ROK形式のファイルが壊れているので"},
        {"a.X", false, NotAvailable("X")},
        {"notes.txt", false, "notes.txt は、モデルとして読み込める形式ではありません。"},
        {"cube.qvp.bak", false, "cube.qvp.bak は、モデルとして読み込める形式ではありません。"},
        {"noext", false, "noext は、モデルとして読み込める形式ではありません。"},
    };
    for (const Case& c : cases) {
        // Every file exists and holds a model: only the name decides.
        Write(c.name, CubeFile());
        int32_t before = Enter3D();
        Rec().Clear();
        UiRec().Clear();
        FileCmd_LoadModelFile(c.name);
        int32_t now = g_LayerModelIds[0];
        if (c.loads) {
            EXPECT_NE(before, now) << c.name;
            ASSERT_TRUE(Model3_IsReadyById(now)) << c.name;
            EXPECT_TRUE(EndsWith(Model3_GetById(now)->file, c.name)) << c.name;
            EXPECT_EQ(24, Model3_GetById(now)->positionCount) << c.name;
            EXPECT_TRUE(Rec().messageBoxes.empty()) << c.name;
        } else {
            EXPECT_EQ(before, now) << c.name;
            EXPECT_EQ(0, Model3_GetById(before)->releaseRequest) << c.name;
            ASSERT_EQ(1u, Rec().messageBoxes.size()) << c.name;
            if (Rec().messageBoxes[0].find("形式のファイルが壊れているので") != std::string::npos) {
                EXPECT_EQ(0u, Rec().messageBoxes[0].find(c.message)) << c.name;
            } else {
                EXPECT_EQ(c.message, Rec().messageBoxes[0]);
                // Nothing was queued: no slot beyond the current model.
                EXPECT_EQ(before + 1, Model3_Count()) << c.name;
            }
        }
        Model3_ReleaseAll();
    }
    EXPECT_EQ(FILECMD_MODEL_READY, FileCmd_ModelKind("dir.x\\a.qvp"));
    EXPECT_EQ(FILECMD_MODEL_UNKNOWN, FileCmd_ModelKind("dir.qvp\\a"));
    EXPECT_EQ(FILECMD_MODEL_UNKNOWN, FileCmd_ModelKind(".qvp"));
}

TEST_F(FileCommands, FailedLoadLeavesTheModelAndTheEditorAsTheyWere)
{
    Write("bad.qvp", {'Q', 'V', 'P', 0xA8, 0xA7, 0x1E, 0, 9});  // version 2009000, then nothing
    Write("cube.qvp", CubeFile());
    const int32_t old = Enter3D();
    QVL::MODEL3* oldModel = g_CurModel3;
    Rec().Clear();
    UiRec().Clear();

    for (const char* name : {"bad.qvp", "missing.qvp"}) {
        FileCmd_LoadModelFile(name);
        EXPECT_EQ(old, g_LayerModelIds[0]) << name;
        EXPECT_EQ(oldModel, g_CurModel3) << name;
        EXPECT_EQ(0, oldModel->releaseRequest) << name;
        EXPECT_EQ(-1, g_UndoHistories[0].position) << name;
        EXPECT_TRUE(UiRec().pixelCopies.empty()) << name;
    }
    // The damaged file is reported by its reader, the missing one by the load-failure message.
    ASSERT_EQ(2u, Rec().messageBoxes.size());
    EXPECT_EQ(0u, Rec().messageBoxes[0].find("QVP形式のファイルが壊れているので"));
    EXPECT_EQ("missing.qvp を開くことができませんでした。", Rec().messageBoxes[1]);
    // Only the slots the failed loads made are freed; the current model survives the deferred pass.
    Model3_ProcessReleases();
    EXPECT_EQ(oldModel, Model3_GetById(old));

    // A load that succeeds replaces the model, and only then asks for the old one's release.
    FileCmd_LoadModelFile("cube.qvp");
    const int32_t id = g_LayerModelIds[0];
    ASSERT_NE(old, id);
    EXPECT_EQ(1, Model3_GetById(old)->releaseRequest);
    ASSERT_EQ(Model3_GetById(id), g_CurModel3);
    EXPECT_TRUE(Model3_IsReady(g_CurModel3));
    // The editor's steps run on the new model, not the released one.
    for (const QVL::BONE3& b : g_CurModel3->bones) EXPECT_EQ(1, b.expanded);
    EXPECT_STREQ("cube.qvp 読み込み", g_UndoCaption);
    EXPECT_EQ(0, g_UndoHistories[0].position);
    EXPECT_EQ(std::vector<int>{id}, UiRec().pixelCopies);
    EXPECT_EQ(0, g_Lib.allocArrays);  // the new slot took the flag
    Model3_ProcessReleases();
    EXPECT_EQ(nullptr, Model3_GetById(old));
}

TEST_F(FileCommands, DroppedModelInTheEffectEditorBecomesTheDefaultModel)
{
    Write("cube.qvp", CubeFile());
    g_DefaultModelId = ReadyModel();
    const int32_t old = g_DefaultModelId;
    Mode_UpdateCurrent();
    FileCmd_LoadModelFile("cube.qvp");
    ASSERT_NE(old, g_DefaultModelId);
    EXPECT_TRUE(Model3_IsReadyById(g_DefaultModelId));
    EXPECT_EQ(Model3_GetById(g_DefaultModelId), g_CurModel3);
    EXPECT_EQ(1, Model3_GetById(old)->releaseRequest);
    // The 3D editor's steps are its own.
    EXPECT_EQ(-1, g_UndoHistories[0].position);
    EXPECT_TRUE(UiRec().pixelCopies.empty());
}

TEST_F(FileCommands, CommandLineNameIsTakenFromTheLaunchFolder)
{
    Write("cube.qvp", CubeFile());
    std::string launch = dir;
    ASSERT_TRUE(Svc_SetCurrentDirectory(oldDir));
    g_Mode = MODE_EFFECT_EDIT;
    g_LayerObjectIds = {0};
    g_LayerModelIds = {ReadyModel()};
    Shell_OpenCommandLine("\"cube.qvp\"", launch.c_str());
    EXPECT_EQ(MODE_3D_EDIT, g_Mode);
    EXPECT_EQ(14, g_Screen);
    ASSERT_NE(nullptr, g_CurModel3);
    EXPECT_TRUE(EndsWith(g_CurModel3->file, "/cube.qvp")) << g_CurModel3->file;
    EXPECT_EQ(24, g_CurModel3->positionCount);
    char now[512];
    ASSERT_TRUE(Svc_GetCurrentDirectory(now, sizeof now));
    EXPECT_EQ(launch, now);
}

TEST_F(FileCommands, PathInAFolderThatCannotBeEnteredLoadsNothing)
{
    Write("cube.qvp", CubeFile());
    const int32_t old = Enter3D();
    EXPECT_FALSE(FileCmd_OpenPath("nowhere\\cube.qvp"));
    EXPECT_EQ(old, g_LayerModelIds[0]);
    EXPECT_EQ(old + 1, Model3_Count());
    EXPECT_EQ(std::vector<std::string>{"nowhere\\cube.qvp を開くことができませんでした。"}, Rec().messageBoxes);
    Rec().Clear();
    // Too long for the name field: refused with a message rather than cut into another name.
    std::string longName = std::string(300, 'n') + ".qvp";
    EXPECT_FALSE(FileCmd_OpenPath(longName.c_str()));
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ(old, g_LayerModelIds[0]);
    Rec().Clear();
    FileCmd_LoadModelFile(longName.c_str());
    EXPECT_EQ(std::vector<std::string>{longName + " を開くことができませんでした。"}, Rec().messageBoxes);
    EXPECT_EQ(old, g_LayerModelIds[0]);
    // A folder that exists is entered and the file loads from it.
    EXPECT_TRUE(FileCmd_OpenPath((dir + "\\cube.qvp").c_str()));
    EXPECT_NE(old, g_LayerModelIds[0]);
}

TEST_F(FileCommands, SaveQvpOffersTheModelsNameAndWritesWhatLoadsBack)
{
    // No model: nothing asked.
    g_Mode = MODE_3D_EDIT;
    g_Screen = SCREEN_3D_POLYGON;
    g_LayerModelIds.clear();
    Mode_UpdateCurrent();
    FileCmd_SaveQVP();
    EXPECT_EQ(std::vector<std::string>{kNothingToSave}, Rec().messageBoxes);
    EXPECT_FALSE(AskedForAFile());

    struct Case {
        const char* file;
        const char* offered;
    } cases[] = {
        {"lion.lwo", "Save QVP lion.QVP"},
        {"cube.qvp", "Save QVP cube.QVP"},
        {"noext", "Save QVP noext.QVP"},
        {"", "Save QVP 新規.QVP"},
    };
    Enter3D();
    for (const Case& c : cases) {
        UiRec().Clear();
        Str_CopyN(g_CurModel3->file, sizeof g_CurModel3->file, c.file);
        FileCmd_SaveQVP();  // cancelled
        EXPECT_TRUE(UiRec().Has(c.offered)) << c.file;
    }
    EXPECT_TRUE(Read("lion.QVP").empty());

    Rec().Clear();
    UiRec().fileAnswers = {"out.qvp"};
    FileCmd_SaveQVP();
    EXPECT_TRUE(Rec().messageBoxes.empty());
    std::vector<uint8_t> saved = Read("out.qvp");
    ASSERT_FALSE(saved.empty());
    int32_t back = Model3_Load(-1, "out.qvp");
    ASSERT_GE(back, 0);
    ExpectSameFileContent(*g_CurModel3, *Model3_GetById(back));
    // Saving what was loaded gives the same bytes: the file is the model, not the session.
    ASSERT_TRUE(Model3_SaveQvp(Model3_GetById(back), "again.qvp"));
    EXPECT_EQ(saved, Read("again.qvp"));

    // A file that cannot be written says so.
    UiRec().fileAnswers = {"no such folder/out.qvp"};
    FileCmd_SaveQVP();
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ("no such folder/out.qvp に書き込むことができませんでした。", Rec().messageBoxes[0]);
}

TEST_F(FileCommands, LoadedFixtureSavesAndReloadsToTheSameBytes)
{
    // What the drive test relies on: a file of another writer, loaded and saved, then that file
    // loaded and saved again, gives the same bytes twice.
    Write("fixture.qvp", QvpFixture(2009000));
    Enter3D();
    FileCmd_LoadModelFile("fixture.qvp");
    UiRec().fileAnswers = {"first.qvp"};
    FileCmd_SaveQVP();
    FileCmd_LoadModelFile("first.qvp");
    EXPECT_TRUE(EndsWith(g_CurModel3->file, "first.qvp"));
    UiRec().fileAnswers = {"second.qvp"};
    FileCmd_SaveQVP();
    std::vector<uint8_t> first = Read("first.qvp");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, Read("second.qvp"));
    EXPECT_TRUE(Rec().messageBoxes.empty());
}

TEST_F(FileCommands, QvbCommandsLoadAndSaveTheEditorsModel)
{
    for (int i = 0; i < QVL::kModel2Slots; ++i) Model2_FreeSlot(i);
    // Nothing to save before a model exists (the effect editor can post the command).
    FileCmd_SaveQVB();
    EXPECT_EQ(std::vector<std::string>{"保存するデータがありません。"}, Rec().messageBoxes);
    g_Lib.allocArrays = 1;
    QVL::MODEL2* m = Model2_NewRecord();
    m->boneCount = 5;
    Write("skin.qvb", Model2_Write(m));
    Model2_Free(m);
    Rec().Clear();
    UiRec().fileAnswers = {"skin.qvb"};
    g_CurBone = 3;
    FileCmd_LoadQVB();
    ASSERT_NE(nullptr, g_Model2Table[0]);
    EXPECT_EQ(5, g_Model2Table[0]->boneCount);
    EXPECT_EQ(1, g_Model2InUse[0]);
    EXPECT_EQ(0, g_CurBone);
    // A damaged file is refused, the open model stays and the allocate-arrays flag is not left set.
    Write("bad.qvb", {'Q', 'V', 'B', 0xA0, 0x94, 0x1E, 0x00, 1});
    UiRec().fileAnswers = {"bad.qvb"};
    QVL::MODEL2* open = g_Model2Table[0];
    FileCmd_LoadQVB();
    EXPECT_EQ(open, g_Model2Table[0]);
    EXPECT_EQ(0, g_Lib.allocArrays);
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    UiRec().fileAnswers = {"again.qvb"};
    FileCmd_SaveQVB();
    EXPECT_EQ(Read("skin.qvb"), Read("again.qvb"));
    for (int i = 0; i < QVL::kModel2Slots; ++i) Model2_FreeSlot(i);
}

TEST_F(FileCommands, MotionListAndObjectCommandsRunTheirReadersAndWriters)
{
    const int32_t model = Enter3D();
    g_CurLayer = model;
    Motion3_ResizeList(Model3_GetById(model)->motions, 2);
    Model3_GetById(model)->motions[1].length = 17;
    UiRec().fileAnswers = {"list.qvm"};
    FileCmd_SaveQVM();
    EXPECT_EQ(87u, Read("list.qvm").size());   // the fresh 63 bytes and a second motion of 24
    Motion3_ResizeList(Model3_GetById(model)->motions, 1);
    UiRec().fileAnswers = {"list.qvm"};
    FileCmd_LoadQVM();
    ASSERT_EQ(2u, Model3_GetById(model)->motions.size());
    EXPECT_EQ(17, Model3_GetById(model)->motions[1].length);

    // No object yet: saving writes nothing and says so.
    Obj3_ReleaseAll();
    Rec().Clear();
    g_CurLayer = 0;
    UiRec().fileAnswers = {"none.qvo"};
    FileCmd_SaveQVO();
    EXPECT_TRUE(Read("none.qvo").empty());
    EXPECT_EQ(std::vector<std::string>{"保存するデータがありません。"}, Rec().messageBoxes);

    for (int32_t p = 0; p < QVL::kObj3Parts; ++p) Obj3_InitPart(0, p);
    g_Obj3Table[0]->motions[0].length = 44;
    UiRec().fileAnswers = {"thing.qvo"};
    FileCmd_SaveQVO();
    EXPECT_EQ(47u, Read("thing.qvo").size());
    Obj3_ReleaseAll();
    UiRec().fileAnswers = {"thing.qvo"};
    g_CurPart = 5;
    FileCmd_LoadQVO();
    ASSERT_NE(nullptr, g_Obj3Table[0]);
    EXPECT_EQ(1, g_Obj3Flags[0][0]);
    EXPECT_EQ(44, g_Obj3Table[0]->motions[0].length);
    EXPECT_EQ(1, g_CurPart);
    Obj3_ReleaseAll();
}

TEST_F(FileCommands, FormatsNotBuiltYetSayIt)
{
    struct Case {
        void (*command)();
        const char* format;
    } cases[] = {
        // X is read through D3DX, which only the studio has.
        {FileCmd_ImportX, "X"},
    };
    const int32_t model = Enter3D();
    for (const Case& c : cases) {
        Rec().Clear();
        UiRec().Clear();
        UiRec().fileAnswers = {"x.qvp"};
        c.command();
        EXPECT_EQ(std::vector<std::string>{NotAvailable(c.format)}, Rec().messageBoxes) << c.format;
        EXPECT_FALSE(AskedForAFile()) << c.format;
        EXPECT_EQ(model, g_LayerModelIds[0]);
    }
    // Without a current model the exporters have nothing to write.
    g_LayerModelIds.clear();
    Rec().Clear();
    FileCmd_ExportX();
    EXPECT_EQ(std::vector<std::string>{kNothingToSave}, Rec().messageBoxes);
}

TEST_F(FileCommands, ExportCommandsAskAndWriteTheCurrentModel)
{
    Write("cube.qvp", CubeFile());
    Enter3D();
    UiRec().fileAnswers = {"cube.qvp"};
    FileCmd_LoadQVP();
    struct Case {
        void (*command)();
        const char* file;
        const char* magic;
    } cases[] = {{FileCmd_ExportLWO, "out.lwo", "FORM"}, {FileCmd_ExportMX, "out.mx", "MXF"}, {FileCmd_ExportX, "out.x", "xof "}};
    for (const Case& c : cases) {
        Rec().Clear();
        UiRec().Clear();
        UiRec().fileAnswers = {c.file};
        c.command();
        EXPECT_TRUE(AskedForAFile()) << c.file;
        EXPECT_TRUE(Rec().messageBoxes.empty()) << c.file;
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(QVL::File_ReadAll(c.file, bytes)) << c.file;
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(0, std::memcmp(bytes.data(), c.magic, std::strlen(c.magic))) << c.file;
    }
    // A name that cannot be written says so.
    Rec().Clear();
    UiRec().fileAnswers = {"no-such-folder/out.lwo"};
    FileCmd_ExportLWO();
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_NE(std::string::npos, Rec().messageBoxes[0].find("に書き込むことができませんでした。"));
}

TEST_F(FileCommands, QvpLoadCommandsAskAndLoad)
{
    Write("cube.qvp", CubeFile());
    Enter3D();
    UiRec().fileAnswers = {"cube.qvp"};
    FileCmd_LoadQVP();
    EXPECT_TRUE(UiRec().Has("Open QVP 読み込む QVP ファイルを選択して下さい "));
    EXPECT_TRUE(EndsWith(g_CurModel3->file, "cube.qvp"));

    const int32_t before = g_LayerModelIds[0];
    // A name typed into the dialog that names no file: the load-failure message, the model stays.
    Rec().Clear();
    UiRec().fileAnswers = {"typed.qvp"};
    FileCmd_LoadQVP();
    EXPECT_EQ(std::vector<std::string>{"typed.qvp を開くことができませんでした。"}, Rec().messageBoxes);
    EXPECT_EQ(before, g_LayerModelIds[0]);
    EXPECT_EQ(0, Model3_GetById(before)->releaseRequest);
    UiRec().Clear();
    FileCmd_LoadAny();  // cancelled
    EXPECT_TRUE(UiRec().Has("OpenFilter 読み込むファイルを選択して下さい"));
    EXPECT_EQ(before, g_LayerModelIds[0]);
    UiRec().fileAnswers = {"cube.qvp"};
    FileCmd_LoadAny();
    EXPECT_NE(before, g_LayerModelIds[0]);
}

TEST_F(FileCommands, NewModelResetsModelZeroWhileItExists)
{
    const int32_t zero = ReadyModel();
    ASSERT_EQ(0, zero);
    g_Screen = SCREEN_3D_POLYGON;
    FileCmd_NewModel3();
    EXPECT_EQ(0, Model3_GetById(0)->faceCount);
    EXPECT_EQ(1, g_Lib.allocArrays);
    // Released and freed (a load replaced it): the command finds nothing to reset.
    Model3_Release(0);
    Model3_ProcessReleases();
    ASSERT_EQ(nullptr, Model3_GetById(0));
    FileCmd_NewModel3();
}

// ---- effects ----

std::vector<uint8_t> EffectFile(int parts)
{
    QVL::EFFECT e = Fixture_Effect();
    e.parts.resize((size_t)parts);
    std::vector<uint8_t> bytes;
    QVE_Write(e, bytes);
    return bytes;
}

TEST_F(FileCommands, QveOpenLoadsFirstAndKeepsOnePreviewInstance)
{
    Write(Joined("two.qve").c_str(), EffectFile(2));
    std::vector<uint8_t> damaged = EffectFile(2);
    damaged.resize(damaged.size() / 2);
    Write(Joined("bad.qve").c_str(), damaged);

    // The effect being edited.
    EffectEdit_NewEffect();
    ASSERT_EQ(0, g_CurEffectId);
    Effect_PartCreate(Effect_GetData(0));
    Str_CopyN(Effect_GetData(0)->parts[0].name, 256, "edited");
    Rec().Clear();

    UiRec().fileAnswers = {"bad.qve"};
    FileCmd_LoadQVE();
    ASSERT_EQ(1u, Rec().messageBoxes.size());
    EXPECT_EQ(0u, Rec().messageBoxes[0].find("QVE形式のファイルが壊れているので"));
    ASSERT_EQ(1u, g_EffectData.size());
    ASSERT_EQ(1u, g_EffectData[0].parts.size());
    EXPECT_STREQ("edited", g_EffectData[0].parts[0].name);
    EXPECT_EQ(&g_EffectData[0], g_CurEffect);

    UiRec().fileAnswers = {""};
    FileCmd_LoadQVE();
    EXPECT_EQ(1u, g_EffectData[0].parts.size());

    UiRec().fileAnswers = {"two.qve"};
    FileCmd_LoadQVE();
    ASSERT_EQ(1u, g_EffectData.size());
    const QVL::EFFECT& e = g_EffectData[0];
    EXPECT_EQ(0, g_CurEffectId);
    EXPECT_EQ(&e, g_CurEffect);
    ASSERT_EQ(2u, e.parts.size());
    EXPECT_STREQ("two.qve", e.file);
    EXPECT_EQ(dir, e.folder);
    EXPECT_EQ((size_t)e.frameCount, e.parts[0].timeTable.size());
    // One instance, the preview instance, at the centre of the game screen.
    ASSERT_EQ(1u, g_EffectInstances.size());
    EXPECT_EQ(0, g_CurEffectInstIndex);
    const QVL::EFFECT_INST& inst = g_EffectInstances[0];
    EXPECT_EQ(0, inst.effect);
    EXPECT_EQ(320.0f, inst.position[0]);
    EXPECT_EQ(240.0f, inst.position[1]);
    EXPECT_EQ(0, inst.frame);
    EXPECT_EQ(2u, inst.parts.size());
}

TEST_F(FileCommands, QveSaveWritesTheCurrentEffect)
{
    FileCmd_SaveQVE();
    EXPECT_EQ(std::vector<std::string>{kNothingToSave}, Rec().messageBoxes);
    EXPECT_FALSE(AskedForAFile());

    EffectEdit_NewEffect();
    g_EffectData[0] = Fixture_Effect();
    Str_CopyN(g_EffectData[0].file, 256, "old.qve");
    UiRec().fileAnswers = {"saved.qve"};
    FileCmd_SaveQVE();
    EXPECT_TRUE(UiRec().Has("Save QVE old.qve"));
    EXPECT_STREQ("saved.qve", g_EffectData[0].file);
    EXPECT_EQ(dir, g_EffectData[0].folder);
    std::vector<uint8_t> bytes = Read(Joined("saved.qve").c_str());
    QVL::EFFECT back;
    Effect_InitData(back);
    ASSERT_EQ(QVL::RECORD_OK, QVE_Parse(bytes.data(), bytes.size(), back));
    EXPECT_EQ(3u, back.parts.size());
}

// ---- 2D objects ----

TEST_F(FileCommands, QvaOpenKeepsTheCurrentObjectWhenTheFileDoesNotLoad)
{
    std::vector<uint8_t> bytes;
    Qva_Write(*Fixture_Obj2(), bytes);
    Write(Joined("obj.qva").c_str(), bytes);
    Write(Joined("bad.qva").c_str(), {'Q', 'V', 'A'});
    g_CurObj2Id = Obj2_Create();
    const int32_t old = g_CurObj2Id;

    UiRec().fileAnswers = {"bad.qva"};
    FileCmd_LoadQVA();
    EXPECT_EQ(old, g_CurObj2Id);
    EXPECT_EQ(1u, Rec().messageBoxes.size());

    UiRec().fileAnswers = {"obj.qva"};
    FileCmd_LoadQVA();
    ASSERT_NE(old, g_CurObj2Id);
    ASSERT_NE(nullptr, g_CurObj2);
    EXPECT_EQ(3, g_CurObj2->partCount);

    // Saved, it is the object as loaded (its image names now the joined paths).
    std::vector<uint8_t> loaded;
    Qva_Write(*g_CurObj2, loaded);
    EXPECT_NE(bytes, loaded);
    UiRec().fileAnswers = {"copy.qva"};
    FileCmd_SaveQVA();
    EXPECT_EQ(loaded, Read("copy.qva"));

    g_CurObj2Id = -1;
    Mode_UpdateCurrent();
    Rec().Clear();
    FileCmd_SaveQVA();
    EXPECT_EQ(std::vector<std::string>{kNothingToSave}, Rec().messageBoxes);
}

} // namespace
