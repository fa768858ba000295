// Native stand-in for the file commands' dialogs (shell/file_commands.h): each is recorded in
// UiRec().calls and answered from UiRec().fileAnswers.
#include <cstdint>
#include <string>

#include "shell/file_commands.h"
#include "support/ui_recorder.h"

// The file commands' dialogs, answered from the script.
static const char* NextFileAnswer()
{
    static std::string answer;
    UiRecorder& r = UiRec();
    answer = r.fileAnswers.empty() ? std::string() : r.fileAnswers.front();
    if (!r.fileAnswers.empty()) r.fileAnswers.erase(r.fileAnswers.begin());
    return answer.c_str();
}

const char* FileCmd_AskOpen(const char* extension, const char* title, const char* initialName)
{
    UiRec_Note("Open %s %s %s", extension, title, initialName);
    return NextFileAnswer();
}

const char* FileCmd_AskOpenFilter(const char*, const char* title)
{
    UiRec_Note("OpenFilter %s", title);
    return NextFileAnswer();
}

const char* FileCmd_AskSave(const char* extension, const char* initialName)
{
    UiRec_Note("Save %s %s", extension, initialName);
    return NextFileAnswer();
}

void FileCmd_CopyModelPixels(int32_t id) { UiRec().pixelCopies.push_back(id); }
