#include "core/ProductInfo.h"

#include "core/VersionRecordData.h"

namespace {

std::optional<VersionRecord> &injectedRecord()
{
    static std::optional<VersionRecord> record;
    return record;
}

} // namespace

VersionRecord ReadVersionRecord()
{
    if (injectedRecord())
        return *injectedRecord();
    VersionRecord record;
    record.productName = QStringLiteral(QUILLMERE_PRODUCT_NAME);
    record.companyName = QStringLiteral(QUILLMERE_COMPANY_NAME);
    record.comments = QStringLiteral(QUILLMERE_WEB_ADDRESS);
    record.major = QUILLMERE_VERSION_MAJOR;
    record.minor = QUILLMERE_VERSION_MINOR;
    return record;
}

void SetVersionRecordForTesting(std::optional<VersionRecord> record)
{
    injectedRecord() = std::move(record);
}

ProductInfo LoadProductInfo()
{
    const VersionRecord record = ReadVersionRecord();
    return {record.productName, record.companyName, record.comments};
}

QString VersionText(const VersionRecord &record)
{
    return QString::number(record.major) + QLatin1Char('.') + QString::number(record.minor);
}
