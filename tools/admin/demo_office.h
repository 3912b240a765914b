#pragma once
// A made-up design office, generated in memory and repeatable: the same options
// give the same office byte for byte. Texts are CP932 and already fit their
// columns. Projects are built one at a time so that large runs need little memory.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace seed {

struct Section {
    int n = 0;
    std::string name;
};

struct Member {
    int n = 0;
    int section = 0;
    std::string name;
};

struct Company {
    int n = 0;
    std::string name;
    std::string department;
};

// One ZMN row. Empty texts are stored as NULL; member numbers 0 mean none.
struct Drawing {
    std::string fileName;
    std::string pathName;
    std::string number;
    std::string title;
    std::string subtitle;
    std::string memo1;
    std::string memo2;
    std::string memo3;
    int mn = 0;
    std::string made;
    std::string updated;
    int checker = 0;
    std::string checked;
    int approver = 0;
    std::string approved;
    int issuer = 0;
    std::string issued;
    int reviser = 0;
    std::string revised;
};

struct Node {
    int n = 0;
    std::string name;
    int mn = 0;
    int parent = 0;
    int depth = 1;  // 1 for a child of the project node
    bool folder = false;
    Drawing drawing;
};

struct Revision {
    int n = 0;
    int node = 0;
    std::string content;
    int reviser = 0;
    std::string date;
};

struct Project {
    int n = 0;
    int mn = 0;
    int cn = 0;
    std::string name;
    std::string title;
    std::string subtitle;
    std::string memo1;
    std::string memo2;
    std::string memo3;
    std::string due;
    std::string plannedStart;
    std::string plannedEnd;
    std::string actualStart;
    std::string actualEnd;
    std::string delivered;
    int done = 0;
    std::vector<Node> nodes;  // N > 0, ascending, every parent before its children
    std::vector<Revision> revisions;
};

// A file the drawings may name; the same file serves every project.
struct SampleFile {
    std::string name;   // CP932, as FILE_NAME stores it
    std::string bytes;  // the whole file
};

struct OfficeOptions {
    int projects = 12;
    int nodesPerProject = 8;
    std::string filesFolder;  // CP932 with a trailing separator: every PATH_NAME
    std::uint64_t seed = 20250401;
};

// Column byte limits of the schema.
constexpr int kNameBytes = 32;
constexpr int kMemberNameBytes = 16;
constexpr int kLineBytes = 80;
constexpr int kDueBytes = 16;
constexpr int kFileBytes = 255;

class DemoOffice {
public:
    explicit DemoOffice(OfficeOptions options);

    const OfficeOptions& options() const { return options_; }
    const std::vector<Section>& sections() const { return sections_; }
    const std::vector<Member>& members() const { return members_; }
    const std::vector<Company>& companies() const { return companies_; }
    // n from 1 to options().projects.
    Project project(int n) const;
    const std::vector<SampleFile>& sampleFiles() const { return files_; }

private:
    OfficeOptions options_;
    std::vector<Section> sections_;
    std::vector<Member> members_;
    std::vector<Company> companies_;
    std::vector<SampleFile> files_;
};

// UTF-8 source text to CP932; texts with no CP932 form are a programming error
// and come out with '?' (a test checks every built-in text).
std::string Sjis(std::string_view utf8);

// Every built-in text of the generator, in UTF-8, for that check.
std::vector<std::string_view> BuiltInTexts();

// An old-format drawing's header, the layout the application's header reader
// accepts, followed by filler up to a small file size.
std::string JwcFileBytes(std::string_view first, std::string_view second);
// The memo the header reader will take from those files.
std::string JwwMemo(std::string_view memo);
std::string JwcMemo(std::string_view first, std::string_view second);

}  // namespace seed
