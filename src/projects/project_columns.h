#pragma once
// ZPROJECT's columns in table order: the order of a "*" row and of every save.

#include <array>

namespace projects {

enum ProjectColumn {
    kColN,
    kColMN,
    kColCN,
    kColPRNAME,
    kColMTITLE,
    kColSTITLE,
    kColMEMO1,
    kColMEMO2,
    kColMEMO3,
    kColNOUKI,
    kColPDATE1,
    kColPDATE2,
    kColDATE1,
    kColDATE2,
    kColNDATE,
    kColENDF,
    kProjectColumnCount,
};

inline constexpr std::array<const char*, kProjectColumnCount> kProjectColumnNames{
    "N",     "MN",    "CN",     "PRNAME", "MTITLE", "STITLE", "MEMO1", "MEMO2",
    "MEMO3", "NOUKI", "PDATE1", "PDATE2", "DATE1",  "DATE2",  "NDATE", "ENDF",
};

// COMPANY and MEMBER rows: N, then the name columns.
enum CompanyColumn { kCompanyN, kCompanyCNAME, kCompanyBNAME };
enum MemberColumn { kMemberN, kMemberSN, kMemberPNAME };

}  // namespace projects
