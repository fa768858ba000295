// Keeps modal windows from hanging a Wine test: every dialog box (message boxes, file dialogs, the
// studio's own dialogs) that opens on the installing thread is recorded and answered at once.
#pragma once
#include <string>
#include <vector>

struct ModalSeen {
    std::string caption;  // window title (CP932)
    std::string text;     // the static texts of the box, joined with '\n'
    int answer;           // the command id it was answered with
};

namespace ModalGuard {
// Installs the hook on the calling thread (done by the test main for the main thread).
void Install();
// The answer for the boxes that follow: a command id (IDOK, IDCANCEL, IDYES, IDNO...).
void Answer(int id);
// For a file dialog: the file name typed into its name field before it is confirmed. Empty: cancel.
void AnswerFile(const std::string& path);
const std::vector<ModalSeen>& Seen();
void Clear();
} // namespace ModalGuard
