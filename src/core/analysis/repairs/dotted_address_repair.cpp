#include "core/analysis/repairs/dotted_address_repair.h"

#include "core/analysis/rules/sensitive_text_validators.h"

namespace velmora {

namespace {

bool isDigitOrDot(const ReadCharacter &character)
{
    return character.text.size() == 1 && character.text.front().unicode() < 0x80
        && (character.text.front().isDigit() || character.text.front() == u'.');
}

} // namespace

int joinSplitDottedAddresses(QList<ReadCharacter> &characters)
{
    int joined = 0;
    for (qsizetype start = 0; start < characters.size();) {
        if (!isDigitOrDot(characters[start])) {
            ++start;
            continue;
        }
        // The digits and dots from `start` on, across loose breaks only.
        qsizetype end = start + 1;
        while (end < characters.size() && isDigitOrDot(characters[end]) && (!characters[end].breakBefore || characters[end].looseBreak))
            ++end;
        QString text;
        int breaks = 0;
        for (qsizetype k = start; k < end; ++k) {
            text += characters[k].text;
            breaks += k > start && characters[k].breakBefore;
        }
        if (breaks > 0 && sensitive_text::isIpv4Address(text)) {
            for (qsizetype k = start + 1; k < end; ++k)
                characters[k].breakBefore = false;
            joined += breaks;
        }
        start = end;
    }
    return joined;
}

} // namespace velmora
