// A write's read-back that found other bytes in the radio, said in the editors'
// terms: which channels and settings the radio holds otherwise than they were
// written, and what to do about it. The transfer window and baldo7ctl say the same.
#pragma once

#include <QString>
#include <vector>

#include "compare/document_diff.h"
#include "core/document.h"
#include "link/write_verify.h"

namespace baldo7 {

// The settings of `written` (the document a data write sent) whose bytes came back
// otherwise; bytes outside the image (the service areas) name nothing.
std::vector<Difference> VerifyDifferences(const Document& written, const VerifyResult& result,
                                          bool isEnglish);

// The bytes that differ, then, when `written` is given, the settings they belong to,
// then what to do; one line each.
QString VerifyFailureText(const VerifyResult& result, const Document* written, bool isEnglish);

// The same as one cell of the job log, in its one language (English): the bytes,
// then the settings of `written` they belong to, without the advice.
QString VerifyLogText(const VerifyResult& result, const Document* written);

}  // namespace baldo7
