#include "tools/admin/demo_office.h"

#include <QDate>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdio>

#include "text/cp932.h"
#include "text/mbcs.h"
#include "tools/admin/demo_drawings.h"

namespace seed {

namespace {

// SplitMix64: tiny, and unlike the standard distributions it gives the same
// numbers with every compiler, so seeded runs stay repeatable everywhere.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<unsigned>(n)); }
    int range(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <class T, std::size_t N>
    const T& pick(const std::array<T, N>& items)
    {
        return items[static_cast<std::size_t>(below(static_cast<int>(N)))];
    }

private:
    std::uint64_t state_;
};

// Every date lies in the years the charts are meant to show.
const QDate kFirstDay(2025, 1, 1);
const QDate kLastDay(2027, 12, 31);
// Progress is judged against a fixed day, not the clock, so runs repeat.
const QDate kAsOf(2026, 6, 1);

QDate Clamp(QDate d)
{
    return std::clamp(d, kFirstDay, kLastDay);
}

std::string DateText(QDate d)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", d.year(), d.month(), d.day());
    return buffer;
}

std::string Fit(std::string_view cp932, int bytes)
{
    return text::CopyMbcs(cp932, 1, bytes).text;
}

std::string Utf8(std::string_view s)
{
    return std::string(s);
}

constexpr std::array<std::string_view, 6> kSectionNames{
    "設計部", "製図課", "構造設計課", "設備設計課", "営業部", "総務部",
};

struct MemberSeed {
    std::string_view name;
    int section;
};
// The last name has 0x5C as the second byte of two characters: such bytes must
// survive every layer unchanged.
constexpr std::array<MemberSeed, 12> kMembers{{
    {"山田　太郎", 1},
    {"佐藤　花子", 1},
    {"鈴木　一郎", 2},
    {"高橋　美咲", 2},
    {"田中　健二", 2},
    {"伊藤　直樹", 3},
    {"渡辺　由美", 3},
    {"中村　修", 4},
    {"小林　恵子", 4},
    {"加藤　誠", 5},
    {"吉田　真理", 5},
    {"能勢　十三", 6},
}};

// Who does what, by member number.
constexpr std::array<int, 4> kCreators{1, 2, 10, 11};
constexpr std::array<int, 5> kDrafters{3, 4, 5, 6, 8};
constexpr std::array<int, 4> kCheckers{1, 2, 7, 9};
constexpr std::array<int, 2> kApprovers{1, 2};
constexpr std::array<int, 3> kIssuers{3, 4, 11};

struct CompanySeed {
    std::string_view name;
    std::string_view department;
};
constexpr std::array<CompanySeed, 8> kCompanies{{
    {"株式会社東洋建設", "設計部　設計一課"},
    {"大和不動産株式会社", "開発事業部"},
    {"みなと市役所", "建築営繕課"},
    {"株式会社さくら物流", "施設管理部"},
    {"医療法人健生会", "事務局"},
    {"学校法人青葉学園", "総務課"},
    {"有限会社松本工務店", "工事部"},
    {"北斗ホテルズ株式会社", "施設開発室"},
}};

constexpr std::array<std::string_view, 15> kPlaces{
    "港北",   "青葉台", "緑が丘", "桜木町",   "本町", "若葉台", "中央", "東雲",
    "富士見", "栄町",   "旭",     "朝日が丘", "松原", "白山",   "山手",
};
constexpr std::array<std::string_view, 12> kBuildings{
    "集合住宅",   "事務所ビル",   "保育園", "診療所", "物流倉庫", "店舗併用住宅",
    "老人ホーム", "小学校体育館", "工場",   "研究所", "ホテル",   "個人住宅",
};
constexpr std::array<std::string_view, 5> kWorks{
    "新築工事", "改修工事", "増築工事", "耐震補強", "建替計画",
};
constexpr int kNameCombinations = 15 * 12 * 5;

constexpr std::array<std::string_view, 5> kProjectSubtitles{
    "基本設計・実施設計", "実施設計・工事監理", "構造設計・設備設計",
    "確認申請図書作成",   "基本計画・概算見積",
};
constexpr std::array<std::string_view, 4> kStructures{"RC造", "S造", "木造", "SRC造"};
constexpr std::array<std::string_view, 5> kProjectNotes{
    "確認申請は事前協議後に提出予定",
    "現場定例　毎週木曜日　10時",
    "施主打合せは月2回",
    "近隣説明会　済み",
    "概算見積を第2回打合せで提示",
};
constexpr std::array<std::string_view, 4> kDrawingNotes{
    "施主確認済み",
    "構造図との整合確認要",
    "第2回打合せで変更指示",
    "設備ルート調整中",
};
constexpr std::array<std::string_view, 6> kRevisionTexts{
    "指摘事項により寸法修正", "開口部位置変更",         "設備配管ルート変更",
    "仕上材変更（施主要望）", "構造断面変更に伴う修正", "誤記訂正",
};

struct Discipline {
    std::string_view folder;
    int weight;
};
constexpr std::array<Discipline, 6> kDisciplines{{
    {"意匠図", 4},
    {"構造図", 2},
    {"設備図", 2},
    {"電気設備図", 2},
    {"外構図", 1},
    {"打合せ資料", 2},
}};
// Sub-folders of the first discipline, for trees three levels deep.
constexpr std::array<std::string_view, 3> kSubFolders{"平面図", "立面・断面図", "詳細図"};
// Where the first discipline's rotation may start: its plans (group 0).
constexpr std::array<int, 3> kPlanStarts{0, 5, 9};

enum class Kind { Jww, Jwc, Pdf, Txt };

struct Template {
    int discipline;
    int group;  // index into kSubFolders, or -1
    std::string_view number;
    std::string_view title;
    Kind kind;
    std::string_view scale;  // the second header field and the scale note
};

// The first discipline's list alternates groups, so that wherever a project's
// rotation starts (always at a plan, see kPlanStarts) its sub-folders fill early.
constexpr std::array<Template, 35> kTemplates{{
    {0, 0, "A-102", "1階平面図", Kind::Jww, "S=1/100"},
    {0, -1, "A-001", "案内図", Kind::Jwc, "S=1/2500"},
    {0, 1, "A-201", "立面図", Kind::Jww, "S=1/100"},
    {0, -1, "A-101", "配置図", Kind::Jww, "S=1/200"},
    {0, 2, "A-301", "矩計図", Kind::Jww, "S=1/30"},
    {0, 0, "A-103", "2階平面図", Kind::Jww, "S=1/100"},
    {0, 1, "A-202", "断面図", Kind::Jww, "S=1/100"},
    {0, 2, "A-302", "平面詳細図", Kind::Jww, "S=1/50"},
    {0, -1, "A-000", "特記仕様書", Kind::Jww, ""},
    {0, 0, "A-104", "屋根伏図", Kind::Jww, "S=1/100"},
    {0, 2, "A-303", "展開図", Kind::Jww, "S=1/50"},
    {0, -1, "A-401", "建具表", Kind::Jww, "S=1/50"},
    {0, -1, "A-402", "仕上表", Kind::Jww, ""},
    {1, -1, "S-101", "基礎伏図", Kind::Jww, "S=1/100"},
    {1, -1, "S-102", "2階床伏図", Kind::Jww, "S=1/100"},
    {1, -1, "S-103", "軸組図", Kind::Jww, "S=1/100"},
    {1, -1, "S-201", "部材リスト", Kind::Jww, ""},
    {1, -1, "S-900", "構造計算書", Kind::Pdf, ""},
    {1, -1, "S-001", "既存構造図", Kind::Jwc, "S=1/200"},
    {2, -1, "M-101", "給排水衛生設備図", Kind::Jww, "S=1/100"},
    {2, -1, "M-201", "空調換気設備図", Kind::Jww, "S=1/100"},
    {2, -1, "M-301", "ガス設備図", Kind::Jww, "S=1/100"},
    {2, -1, "M-900", "設備機器表", Kind::Pdf, ""},
    {3, -1, "E-101", "電灯コンセント設備図", Kind::Jww, "S=1/100"},
    {3, -1, "E-201", "幹線動力設備図", Kind::Jww, "S=1/100"},
    {3, -1, "E-301", "弱電設備図", Kind::Jww, "S=1/100"},
    {3, -1, "E-001", "既存電気設備図", Kind::Jwc, "S=1/200"},
    {4, -1, "G-101", "外構平面図", Kind::Jww, "S=1/200"},
    {4, -1, "G-102", "植栽計画図", Kind::Jww, "S=1/200"},
    {4, -1, "G-201", "外構詳細図", Kind::Jww, "S=1/30"},
    {5, -1, "", "打合せ記録_第1回", Kind::Txt, ""},
    {5, -1, "", "見積書", Kind::Pdf, ""},
    {5, -1, "", "工程表", Kind::Pdf, ""},
    {5, -1, "", "打合せ記録_第2回", Kind::Txt, ""},
    {5, -1, "", "設計説明書", Kind::Pdf, ""},
}};

// Long enough that its header needs the two-byte length form.
constexpr std::string_view kLongMemo =
    "特記仕様書：本工事は国土交通省大臣官房官庁営繕部監修「公共建築工事標準仕様書」"
    "（建築工事編・電気設備工事編・機械設備工事編）最新版による。"
    "特記なき事項は監理者と協議の上決定する。材料は全てJIS規格品又は同等品以上とし、"
    "施工に先立ち見本を提出して承認を受けること。";

constexpr std::string_view kTxtBody =
    "打合せ記録\n\n"
    "出席者：施主様、設計担当、製図担当\n"
    "1. 平面計画について説明し、了承を得た。\n"
    "2. 外壁仕上げは次回までにサンプルを用意する。\n"
    "3. 次回打合せ日程は別途調整。\n";

std::string FileName(const Template& t)
{
    static constexpr std::array<std::string_view, 4> kExtensions{".jww", ".jwc", ".pdf", ".txt"};
    std::string name = t.number.empty() ? "" : std::string(t.number) + "_";
    name += t.title;
    name += kExtensions[static_cast<std::size_t>(t.kind)];
    return name;
}

std::string HeaderMemo(const Template& t)
{
    if (t.title == "特記仕様書")
        return Sjis(kLongMemo);
    std::string memo(t.title);
    if (!t.scale.empty())
        memo += " " + std::string(t.scale);
    return Sjis(memo);
}

std::string MinimalPdf(std::string_view line)
{
    std::string content = "BT /F1 18 Tf 72 720 Td (" + std::string(line) + ") Tj ET";
    std::array<std::string, 5> objects{
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 842 595] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    };
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    std::size_t xref = pdf.size();
    pdf += "xref\n0 6\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size 6 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

SampleFile MakeSampleFile(const Template& t)
{
    SampleFile file;
    file.name = Sjis(FileName(t));
    switch (t.kind) {
        case Kind::Jww:
            file.bytes = JwwFileBytes(HeaderMemo(t), {t.title, t.number, t.scale});
            break;
        case Kind::Jwc:
            file.bytes = JwcFileBytes(Sjis(t.title), Sjis(t.scale));
            break;
        case Kind::Pdf:
            file.bytes =
                MinimalPdf("k5x7 demo " + std::string(t.number.empty() ? "doc" : t.number));
            break;
        case Kind::Txt:
            file.bytes = std::string(kTxtBody);
            break;
    }
    return file;
}

// What the drawing's first memo line holds: the header text for drawing files,
// as registering the file would take it; a typed note for the rest.
std::string FirstMemo(const Template& t)
{
    switch (t.kind) {
        case Kind::Jww:
            return JwwMemo(HeaderMemo(t));
        case Kind::Jwc:
            return JwcMemo(Sjis(t.title), Sjis(t.scale));
        case Kind::Pdf:
            return Sjis("PDF資料");
        case Kind::Txt:
            return Sjis("打合せメモ");
    }
    return {};
}

std::vector<int> TemplatesOf(int discipline)
{
    std::vector<int> list;
    for (std::size_t i = 0; i < kTemplates.size(); ++i)
        if (kTemplates[i].discipline == discipline)
            list.push_back(static_cast<int>(i));
    return list;
}

struct Period {
    QDate start;
    QDate end;
    int stage;  // 0 not started, 1 running, 2 finished
};

void FillProjectDates(Project& p, Rng& rng, Period& period)
{
    QDate plannedStart = kFirstDay.addDays(5 + rng.below(800));
    QDate plannedEnd = Clamp(plannedStart.addDays(45 + rng.below(330)));
    p.plannedStart = DateText(plannedStart);
    p.plannedEnd = DateText(plannedEnd);
    period = {plannedStart, plannedEnd, 0};
    if (plannedStart <= kAsOf) {
        QDate actualStart = std::min(Clamp(plannedStart.addDays(rng.range(-7, 21))), kAsOf);
        p.actualStart = DateText(actualStart);
        period = {actualStart, plannedEnd, 1};
        QDate actualEnd = plannedEnd.addDays(rng.range(-10, 45));
        if (actualEnd <= kAsOf) {
            actualEnd = std::max(actualEnd, actualStart);
            p.actualEnd = DateText(actualEnd);
            period = {actualStart, actualEnd, 2};
            if (rng.chance(80)) {
                p.done = 1;
                p.delivered = DateText(Clamp(actualEnd.addDays(rng.range(0, 14))));
            }
        }
    }
    char due[32];
    switch (rng.below(4)) {
        case 0:
            std::snprintf(due, sizeof due, "%d年%d月末", plannedEnd.year(), plannedEnd.month());
            break;
        case 1:
            std::snprintf(due, sizeof due, "%d/%d/%d", plannedEnd.year(), plannedEnd.month(),
                          plannedEnd.day());
            break;
        case 2:
            std::snprintf(due, sizeof due, "%d年%d月上旬", plannedEnd.year(), plannedEnd.month());
            break;
        default:
            std::snprintf(due, sizeof due, "別途協議");
    }
    p.due = Fit(Sjis(due), kDueBytes);
}

// Stamps follow one another in time; how far a drawing got depends on how far
// its project got.
void FillDrawingDates(Drawing& d, Rng& rng, const Period& period, int& revisionNo, int node,
                      std::vector<Revision>& revisions)
{
    int span = std::max(1, static_cast<int>(period.start.daysTo(period.end)));
    QDate made = Clamp(period.start.addDays(rng.below(span * 6 / 10 + 1) - 10));
    QDate updated = Clamp(made.addDays(rng.below(30)));
    d.made = DateText(made);
    d.updated = DateText(updated);

    static constexpr std::array<std::array<int, 3>, 3> kOdds{
        {{10, 0, 0}, {55, 60, 45}, {90, 90, 85}}};
    const auto& odds = kOdds[static_cast<std::size_t>(period.stage)];
    if (!rng.chance(odds[0]))
        return;
    QDate checked = Clamp(updated.addDays(rng.range(1, 10)));
    d.checker = rng.pick(kCheckers);
    d.checked = DateText(checked);
    if (!rng.chance(odds[1]))
        return;
    QDate approved = Clamp(checked.addDays(rng.range(0, 7)));
    d.approver = rng.pick(kApprovers);
    d.approved = DateText(approved);
    if (!rng.chance(odds[2]))
        return;
    QDate issued = Clamp(approved.addDays(rng.range(1, 10)));
    d.issuer = rng.pick(kIssuers);
    d.issued = DateText(issued);
    if (!rng.chance(35))
        return;
    QDate date = issued;
    int count = rng.range(1, 3);
    for (int i = 0; i < count; ++i) {
        date = Clamp(date.addDays(rng.range(5, 40)));
        Revision r;
        r.n = ++revisionNo;
        r.node = node;
        r.content = Fit(Sjis(rng.pick(kRevisionTexts)), kLineBytes);
        r.reviser = rng.chance(70) ? d.mn : rng.pick(kDrafters);
        r.date = DateText(date);
        d.reviser = r.reviser;
        d.revised = r.date;
        revisions.push_back(std::move(r));
    }
}

}  // namespace

std::string Sjis(std::string_view utf8)
{
    QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    auto bytes = text::ToCp932(s);
    return bytes ? *bytes : text::ToCp932Lossy(s);
}

std::vector<std::string_view> BuiltInTexts()
{
    std::vector<std::string_view> all;
    auto add = [&](const auto& list) { all.insert(all.end(), list.begin(), list.end()); };
    add(kSectionNames);
    for (const auto& m : kMembers)
        all.push_back(m.name);
    for (const auto& c : kCompanies) {
        all.push_back(c.name);
        all.push_back(c.department);
    }
    add(kPlaces);
    add(kBuildings);
    add(kWorks);
    add(kProjectSubtitles);
    add(kStructures);
    add(kProjectNotes);
    add(kDrawingNotes);
    add(kRevisionTexts);
    for (const auto& d : kDisciplines)
        all.push_back(d.folder);
    add(kSubFolders);
    for (const auto& t : kTemplates)
        all.push_back(t.title);
    all.push_back(kLongMemo);
    all.push_back(
        "延床面積 ㎡／地上階敷地：丁目担当：様に伴う設計業務（その）縮尺 A1期年月末上旬別途協議");
    return all;
}

std::string JwcFileBytes(std::string_view first, std::string_view second)
{
    std::string bytes = "jw_cad(c)data.......";
    bytes.append(20, '\0');
    for (std::string_view field : {first, second}) {
        std::string part = Fit(field, 32);
        part.resize(32, '\0');
        bytes += part;
    }
    bytes.resize(512, '\0');
    return bytes;
}

std::string JwwMemo(std::string_view memo)
{
    return text::CopyMbcs(text::StripQuotes(memo), 1, kLineBytes).text;
}

std::string JwcMemo(std::string_view first, std::string_view second)
{
    return text::StripQuotes(Fit(first, 32)) + " " + text::StripQuotes(Fit(second, 32));
}

DemoOffice::DemoOffice(OfficeOptions options) : options_(std::move(options))
{
    for (std::size_t i = 0; i < kSectionNames.size(); ++i)
        sections_.push_back({static_cast<int>(i + 1), Fit(Sjis(kSectionNames[i]), kNameBytes)});
    for (std::size_t i = 0; i < kMembers.size(); ++i)
        members_.push_back({static_cast<int>(i + 1), kMembers[i].section,
                            Fit(Sjis(kMembers[i].name), kMemberNameBytes)});
    for (std::size_t i = 0; i < kCompanies.size(); ++i)
        companies_.push_back({static_cast<int>(i + 1), Fit(Sjis(kCompanies[i].name), kNameBytes),
                              Fit(Sjis(kCompanies[i].department), kNameBytes)});
    for (const auto& t : kTemplates)
        files_.push_back(MakeSampleFile(t));
}

Project DemoOffice::project(int n) const
{
    Rng rng(options_.seed ^ (static_cast<std::uint64_t>(n) * 0xD1B54A32D192ED03ull));
    Project p;
    p.n = n;
    p.mn = rng.pick(kCreators);
    p.cn = 1 + rng.below(static_cast<int>(kCompanies.size()));

    // A stride coprime to the number of combinations: neighbours differ, and the
    // first combinations never repeat; later rounds carry a phase number.
    int index = static_cast<int>((static_cast<long long>(n - 1) * 277) % kNameCombinations);
    std::string_view place = kPlaces[static_cast<std::size_t>(index % 15)];
    std::string_view building = kBuildings[static_cast<std::size_t>((index / 15) % 12)];
    std::string_view work = kWorks[static_cast<std::size_t>(index / 180)];
    std::string name = Utf8(place) + Utf8(building) + Utf8(work);
    int round = (n - 1) / kNameCombinations;
    if (round > 0)
        name += std::to_string(round + 1) + "期";
    p.name = Fit(Sjis(name), kNameBytes);

    const auto& client = kCompanies[static_cast<std::size_t>(p.cn - 1)];
    p.title = Fit(Sjis(Utf8(client.name) + "様　" + Utf8(building) + Utf8(work) + "に伴う設計業務"),
                  kLineBytes);
    p.subtitle = Fit(Sjis(rng.pick(kProjectSubtitles)), kLineBytes);
    // One draw per statement: the order in which arguments are evaluated differs
    // between compilers, and the numbers must not.
    const int floorArea = rng.range(80, 9800);
    const int floorAreaTenths = rng.below(10);
    const std::string structure = Utf8(rng.pick(kStructures));
    const int floors = rng.range(1, 12);
    char area[64];
    std::snprintf(area, sizeof area, "延床面積 %d.%d㎡／%s 地上%d階", floorArea, floorAreaTenths,
                  structure.c_str(), floors);
    p.memo1 = Fit(Sjis(area), kLineBytes);
    if (rng.chance(50))
        p.memo2 = Fit(Sjis("敷地：" + Utf8(place) + std::to_string(rng.range(1, 5)) + "丁目"),
                      kLineBytes);
    else
        p.memo2 =
            Fit(Sjis("担当：") + members_[static_cast<std::size_t>(p.mn - 1)].name, kLineBytes);
    if (rng.chance(60))
        p.memo3 = Fit(Sjis(rng.pick(kProjectNotes)), kLineBytes);

    Period period;
    FillProjectDates(p, rng, period);

    // The tree: discipline folders under the project node, sub-folders under the
    // first one once there are enough nodes, and the drawings below them.
    const int m = std::max(0, options_.nodesPerProject);
    const int folders = m < 2 ? 0 : std::clamp(m / 3 + 1, 1, std::min(6, m / 2));
    const int subFolders = (m >= 8 && folders >= 1) ? std::min(3, 1 + (m - 8) / 12) : 0;
    const int drawings = m - folders - subFolders;

    // The first discipline always; the others vary by project, kept in their
    // usual order, so that small trees still show every kind of file somewhere.
    std::vector<int> chosen{0};
    {
        std::vector<int> others{1, 2, 3, 4, 5};
        for (int i = static_cast<int>(others.size()) - 1; i > 0; --i)
            std::swap(others[static_cast<std::size_t>(i)],
                      others[static_cast<std::size_t>(rng.below(i + 1))]);
        others.resize(static_cast<std::size_t>(std::max(0, folders - 1)));
        std::sort(others.begin(), others.end());
        chosen.insert(chosen.end(), others.begin(), others.end());
    }
    std::vector<int> perFolder(chosen.size(), 0);
    if (folders == 0) {
        perFolder[0] = drawings;
    } else {
        int weightSum = 0;
        for (int d : chosen)
            weightSum += kDisciplines[static_cast<std::size_t>(d)].weight;
        int given = 0;
        for (std::size_t f = 0; f < chosen.size(); ++f) {
            perFolder[f] =
                drawings * kDisciplines[static_cast<std::size_t>(chosen[f])].weight / weightSum;
            given += perFolder[f];
        }
        // The remainder goes to the last folders first: they have the smallest
        // shares and would otherwise be the ones left empty.
        for (std::size_t f = chosen.size(); given < drawings; ++given) {
            f = f == 0 ? chosen.size() - 1 : f - 1;
            ++perFolder[f];
        }
    }

    int nextNode = 0;
    int revisionNo = 0;
    auto addFolder = [&](std::string_view utf8, int parent, int depth) {
        Node node;
        node.n = ++nextNode;
        node.name = Fit(Sjis(utf8), kNameBytes);
        node.mn = p.mn;
        node.parent = parent;
        node.depth = depth;
        node.folder = true;
        p.nodes.push_back(std::move(node));
        return nextNode;
    };

    for (std::size_t f = 0; f < chosen.size(); ++f) {
        const int discipline = chosen[f];
        int folderNode = 0;
        int depth = 1;
        if (folders > 0) {
            folderNode = addFolder(kDisciplines[static_cast<std::size_t>(discipline)].folder, 0, 1);
            depth = 2;
        }
        std::array<int, kSubFolders.size()> subNode{};
        if (discipline == 0 && folders > 0)
            for (int s = 0; s < subFolders; ++s)
                subNode[static_cast<std::size_t>(s)] =
                    addFolder(kSubFolders[static_cast<std::size_t>(s)], folderNode, 2);

        const std::vector<int> templates = TemplatesOf(discipline);
        const int count = static_cast<int>(templates.size());
        const int start = discipline == 0 ? rng.pick(kPlanStarts) : rng.below(count);
        for (int k = 0; k < perFolder[f]; ++k) {
            const Template& t = kTemplates[static_cast<std::size_t>(
                templates[static_cast<std::size_t>((start + k) % count)])];
            const int round = k / count;
            Node node;
            node.n = ++nextNode;
            node.parent = folderNode;
            node.depth = depth;
            if (t.group >= 0 && t.group < subFolders) {
                node.parent = subNode[static_cast<std::size_t>(t.group)];
                node.depth = 3;
            }
            Drawing& d = node.drawing;
            d.fileName = Sjis(FileName(t));
            d.pathName = Fit(options_.filesFolder, kFileBytes);
            node.name = Fit(d.fileName, kNameBytes);
            if (!t.number.empty())
                d.number =
                    Sjis(Utf8(t.number) + (round > 0 ? "-" + std::to_string(round + 1) : ""));
            d.title = Fit(Sjis(Utf8(t.title) +
                               (round > 0 ? "（その" + std::to_string(round + 1) + "）" : "")),
                          kLineBytes);
            d.subtitle = p.name;
            d.memo1 = Fit(FirstMemo(t), kLineBytes);
            if (!t.scale.empty())
                d.memo2 = Sjis("縮尺 " + Utf8(t.scale.substr(2)) + "　A1");
            if (rng.chance(25))
                d.memo3 = Fit(Sjis(rng.pick(kDrawingNotes)), kLineBytes);
            d.mn = rng.pick(kDrafters);
            node.mn = d.mn;
            FillDrawingDates(d, rng, period, revisionNo, node.n, p.revisions);
            p.nodes.push_back(std::move(node));
        }
    }
    return p;
}

}  // namespace seed
