#include "catalogue/item_codes.h"

#include "core/error.h"
#include "core/text.h"
#include "store/key_values.h"
#include "store/table.h"

namespace catalogue {

std::string fourDigitSequence(std::string_view numberText) {
    const std::string text = core::trim(numberText);
    const std::int64_t n = core::toInteger(text);
    if (n < 0)
        throw core::Error("'" + text + "' is not a valid sequence number: it may not be negative");
    // "000" in front of the decimal text, four characters from the position
    // equal to its length: the last four digits, padded with zeros.
    const std::string digits = std::to_string(n);
    const std::string padded = "000" + digits;
    return padded.substr(digits.size() - 1, 4);
}

Proposal proposeFrom(const ItemCodeKind& kind, const std::optional<std::string>& counterValue,
                     const core::DateTime& now) {
    Proposal p;
    std::string lastCode = kind.builtInStart;
    if (counterValue) {
        lastCode = core::trim(*counterValue);
        p.lastRecordLine = lastCode;
    }
    const std::string lastDate = core::midChars(lastCode, 2, 8);
    const std::string lastSequence = core::midChars(lastCode, 10, 4);
    const std::int64_t last = core::toInteger(lastSequence);
    const std::string today = now.toCompactDate();
    const std::string next = fourDigitSequence(std::to_string(last + 1));
    if (lastDate < today) {
        p.question = "Last NewRecord is: " + p.lastRecordLine +
                     "\rLast Record date is : " + lastDate +
                     " but,\rToday/system date is: " + today + "\rCreate NewRecord using " + today +
                     " date?";
        p.parts = {today, "0001"};
        p.partsIfNo = {lastDate, next};
    } else {
        p.parts = {today, next};
        p.partsIfNo = p.parts;
    }
    return p;
}

Proposal proposeCode(store::Table& counters, const ItemCodeKind& kind, const core::DateTime& now) {
    return proposeFrom(
        kind, store::readVariable(counters, store::kCountersLayout, kind.counterName), now);
}

std::optional<CodeParts> chooseProposal(const Proposal& proposal, ProposalAnswer answer) {
    if (proposal.question.empty()) return proposal.parts;
    switch (answer) {
        case ProposalAnswer::Yes:
            return proposal.parts;
        case ProposalAnswer::No:
            return proposal.partsIfNo;
        case ProposalAnswer::Closed:
            break;
    }
    return std::nullopt;
}

AssembledCode assembleCode(const ItemCodeKind& kind, std::string_view datePart,
                           std::string_view sequenceText) {
    AssembledCode a;
    a.sequencePart = fourDigitSequence(sequenceText);
    a.code = std::string(kind.kindDigit) + core::trim(datePart) + a.sequencePart;
    return a;
}

std::string codeKey(std::string_view code) { return core::asciiUpper(core::trim(code)); }

bool findItem(store::Table& items, const ItemCodeKind& kind, std::string_view code) {
    items.setIndexName(kind.itemIndex);
    if (!items.isOpen()) items.open();
    return items.findKey({codeKey(code)});
}

std::string newCodeQuestion(std::string_view code) {
    return "Is this: \"" + std::string(code) + "\" a new CallCode?";
}

std::string codeTakenMessage(std::string_view code) {
    return "Some one was input this " + codeKey(code) +
           " So, this number Not Save yet, try again please.";
}

std::string codeCancelledMessage(std::string_view code) {
    return codeKey(code) + ", batal / tidak diposting.";
}

std::optional<std::string> advanceCounter(store::Table& counters, const ItemCodeKind& kind,
                                          std::string_view code) {
    if (!store::writeVariable(counters, store::kCountersLayout, kind.counterName, core::trim(code)))
        return std::nullopt;
    return core::trim(counters.asString(store::kCountersLayout.valueField));
}

CodeCheck checkCode(store::Table& items, store::Table& counters, const ItemCodeKind& kind,
                    const std::string& code, const CodeCheckSteps& steps) {
    CodeCheck out;
    if (findItem(items, kind, code)) {
        out.outcome = CodeOutcome::Existing;
        return out;
    }
    if (steps.refuseNew) {
        out.message = steps.refuseNew();
        if (!out.message.empty()) {
            out.outcome = CodeOutcome::Refused;
            return out;
        }
    }
    if (!steps.confirm(newCodeQuestion(code))) {
        out.outcome = CodeOutcome::Cancelled;
        out.message = codeCancelledMessage(code);
        return out;
    }
    // Another workstation may have created it while the question was open.
    if (findItem(items, kind, code)) {
        out.outcome = CodeOutcome::Taken;
        out.message = codeTakenMessage(code);
    } else {
        steps.insertNew(core::trim(code));
        out.outcome = CodeOutcome::Created;
    }
    out.counterValue = advanceCounter(counters, kind, code);
    return out;
}

}  // namespace catalogue
