// Builds the decoded values a D-Bus service could send (QtDBus hands them
// over as QVariants of these types) from fuzzer bytes: every basic D-Bus
// type, extreme numbers, NaN and infinities, texts with control characters,
// lists and nested maps, under the property names the readers look for or
// any other.
#pragma once

#include <QByteArray>
#include <QDBusObjectPath>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <fuzzer/FuzzedDataProvider.h>
#include <limits>
#include <string>

namespace orbistat::fuzz {

inline QString fuzzedText(FuzzedDataProvider& input, size_t maxLength = 24)
{
    const auto bytes = input.ConsumeRandomLengthString(maxLength);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline double fuzzedDouble(FuzzedDataProvider& input)
{
    switch (input.ConsumeIntegralInRange<int>(0, 5)) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return std::numeric_limits<double>::infinity();
    case 2: return -std::numeric_limits<double>::infinity();
    case 3: return input.ConsumeFloatingPoint<double>();
    default: return input.ConsumeFloatingPointInRange<double>(-300.0, 300.0);
    }
}

inline QVariant fuzzedValue(FuzzedDataProvider& input, int depth = 0)
{
    switch (input.ConsumeIntegralInRange<int>(0, depth < 2 ? 13 : 11)) {
    case 0: return QVariant(input.ConsumeBool());
    case 1: return QVariant::fromValue(input.ConsumeIntegral<uchar>());
    case 2: return QVariant::fromValue(input.ConsumeIntegral<short>());
    case 3: return QVariant::fromValue(input.ConsumeIntegral<ushort>());
    case 4: return QVariant(input.ConsumeIntegral<int>());
    case 5: return QVariant(input.ConsumeIntegral<uint>());
    case 6: return QVariant(static_cast<qlonglong>(input.ConsumeIntegral<int64_t>()));
    case 7: return QVariant(static_cast<qulonglong>(input.ConsumeIntegral<uint64_t>()));
    case 8: return QVariant(fuzzedDouble(input));
    case 9: return QVariant(fuzzedText(input));
    case 10: return QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/") + fuzzedText(input, 8)));
    case 11: {
        const auto bytes = input.ConsumeRandomLengthString(8);
        return QVariant(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    case 12: {
        QStringList list;
        for (int i = input.ConsumeIntegralInRange<int>(0, 3); i > 0; --i)
            list.append(fuzzedText(input));
        return QVariant(list);
    }
    default: {
        QVariantMap map;
        for (int i = input.ConsumeIntegralInRange<int>(0, 3); i > 0; --i)
            map.insert(fuzzedText(input, 8), fuzzedValue(input, depth + 1));
        return QVariant(map);
    }
    }
}

// A property map whose keys are mostly among `names`.
inline QVariantMap fuzzedProperties(FuzzedDataProvider& input, const QStringList& names)
{
    QVariantMap properties;
    for (int i = input.ConsumeIntegralInRange<int>(0, 8); i > 0 && input.remaining_bytes() > 0; --i) {
        const auto pick = input.ConsumeIntegralInRange<qsizetype>(0, names.size());
        const QString key = pick < names.size() ? names.at(pick) : fuzzedText(input, 12);
        properties.insert(key, fuzzedValue(input));
    }
    return properties;
}

} // namespace orbistat::fuzz
