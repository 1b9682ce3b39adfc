#pragma once

#include <QString>

#include <optional>

// What the executable says about itself. On every platform the record is
// compiled in from the build's single product record; on Windows the same
// values also form the executable's version resource.
struct VersionRecord
{
    QString productName;
    QString companyName;
    QString comments; // the maker's web address, a bare host name
    int major = 0;
    int minor = 0;
};

struct ProductInfo
{
    QString productName;
    QString companyName;
    QString webAddress;
};

// The executable's version record, or the one a test put in its place.
VersionRecord ReadVersionRecord();
void SetVersionRecordForTesting(std::optional<VersionRecord> record);

// The product information as the version record gives it now. The program
// reads it once at start-up and passes it to the windows that show it.
ProductInfo LoadProductInfo();

// "major.minor", each in plain decimal: 2.1, 2.10, 2.0.
QString VersionText(const VersionRecord &record);
