#include "booklet/logic/booklet_rules.h"

#include "header/logic/header_rules.h"

namespace ferolan {

std::vector<const CheckRule *> bookletCheckRules() {
    std::span<const CheckRule *const> header = headerCheckRules();
    std::vector<const CheckRule *> rules(header.begin(), header.end());
    rules.insert(rules.end(), {&rule::kByteOrderMark,    &rule::kBlankLine,
                               &rule::kNotClosed,        &rule::kNoRow0,
                               &rule::kRow0NotFirst,     &rule::kRow0Twice,
                               &rule::kNoRow9,           &rule::kRow9NotSecond,
                               &rule::kUnchecked,        &rule::kRow1Fields,
                               &rule::kBaseCoordinates,  &rule::kBaseRadius,
                               &rule::kBaseOutsideItaly, &rule::kNoSession,
                               &rule::kRow6Fields,       &rule::kSessionTime,
                               &rule::kSessionOrder,     &rule::kSessionMethod,
                               &rule::kRtkFromNetwork,   &rule::kNrtkBase,
                               &rule::kNrtkVrs,          &rule::kRow2Fields,
                               &rule::kVectorNotNumbers, &rule::kVectorBeforeBase,
                               &rule::kLongVector,       &rule::kNoMatrixBeyond5km,
                               &rule::kZeroMatrices,     &rule::kMatrixNotPositive,
                               &rule::kEmptyName,        &rule::kRepeatedName,
                               &rule::kBaseName,         &rule::kMalformedPf,
                               &rule::kOddNames,         &rule::kFewFiducialPoints});
    return rules;
}

} // namespace ferolan
