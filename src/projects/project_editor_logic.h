#pragma once
// The project editor without its window: the number it proposes, the client
// list, loading a project into the form and saving the form with every check
// in the editor's order. Texts are CP932 bytes as the controls hold them.

#include <QString>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/app_globals.h"
#include "storage/database.h"

namespace projects {

// The controls a failed check sends the keyboard focus to.
enum class EditorControl {
    None,
    Edit1,
    ComboBox1,
    Edit2,
    Edit9,
    Edit10,
    Edit11,
    Edit12,
    Edit13,
};

// Edit2 .. Edit13 edit ZPROJECT's PRNAME .. NDATE, columns 3 .. 14.
constexpr int kEditorTextCount = 12;
constexpr int kFirstTextColumn = 3;

struct ProjectForm {
    std::string number;  // Edit1
    std::string client;  // ComboBox1's text
    std::array<std::string, kEditorTextCount> texts;
    bool done = false;  // CheckBox1
};

struct SaveOutcome {
    std::vector<QString> messages;  // to show, in this order
    EditorControl focus = EditorControl::None;
    bool clearNumber = false;
    // A client registered on the way: its item was appended to clientItems()
    // and becomes the combo's text.
    std::optional<std::string> newClientItem;
    bool saved = false;
};

struct LoadOutcome {
    // Absent when the number was refused: the number field is emptied.
    std::optional<ProjectForm> form;
    // The creator's name when the creator label changes (empty when the member is gone).
    std::optional<std::string> creatorName;
    EditorControl focus = EditorControl::None;
};

class ProjectEditorLogic {
public:
    ProjectEditorLogic(storage::Database& db, storage::AppGlobals& globals)
        : db_(db), globals_(globals)
    {}

    // Copies which project to open, so later openings do not disturb this editor.
    void Start();
    int mode() const { return mode_; }
    int projectNo() const { return projectNo_; }

    // One more than the largest project number, in decimal ("1" for none).
    std::string ProposeNumber();

    // A blank first, then "N:CNAME" per company (with the department after a
    // full-width bar when there is one), each cut to 32 bytes.
    void LoadClientItems();
    const std::vector<std::string>& clientItems() const { return clientItems_; }

    LoadOutcome Load(std::string_view numberText);
    SaveOutcome Save(const ProjectForm& form);

private:
    int ClientOf(std::string_view text) const;
    std::string ClientItemFor(int client) const;

    storage::Database& db_;
    storage::AppGlobals& globals_;
    int mode_ = 0;
    int projectNo_ = 0;
    std::vector<std::string> clientItems_;
};

}  // namespace projects
