// libFuzzer target: /proc/cpuinfo and the device tree's model attribute,
// separated by a byte 0x01. Properties: the model name is the first
// non-empty "model name" value, one trimmed line; the attribute text ends
// before any NUL, is trimmed, and when its bytes are valid UTF-8 it is
// exactly those bytes.
#include "FuzzSupport.h"
#include "platform/linux/LinuxRoot.h"
#include "platform/linux/LinuxSysctlReader.h"
#include "platform/linux/TextParsing.h"

#include <QStringDecoder>

using namespace orbistat;

namespace {

bool isTrimmed(const QString& text)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f'; };
    return text.isEmpty() || (!blank(text.front()) && !blank(text.back()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto files = fuzz::parts(fuzz::asText(data, size), 2);
    const auto model = parseCpuInfoModelName(files[0]);
    fuzz::require(parseCpuInfoModelName(files[0]) == model, "parsing is deterministic");
    if (model) {
        fuzz::require(!model->isEmpty(), "a model name is not empty");
        fuzz::require(!model->contains(QLatin1Char('\n')), "a model name is one line");
        fuzz::require(isTrimmed(*model), "a model name is trimmed");
    }

    const auto text = attributeText(files[1]);
    fuzz::require(!text.contains(QChar(0)), "an attribute's text holds no NUL");
    fuzz::require(isTrimmed(text), "an attribute's text is trimmed");
    const auto kept = trimAscii(files[1].substr(0, files[1].find('\0')));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(QByteArrayView(kept.data(), static_cast<qsizetype>(kept.size())));
    if (!decoder.hasError())
        fuzz::require(text.toUtf8() == QByteArrayView(kept.data(), static_cast<qsizetype>(kept.size())), "valid UTF-8 is kept as it is");
    return 0;
}
