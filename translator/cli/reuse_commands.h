// Printing the results of reuse: the analysis of a project's work and the
// translations taken from another project.
#pragma once

#include "translator/cli/exchange_commands.h"
#include "translator/dictionary/analysis.h"
#include "translator/model/leverage.h"

namespace ulk {

enum class AnalysisFormat { kTable, kJson, kCsv };

void PrintAnalysis(const AnalysisReport& report, AnalysisFormat format, const CliStreams& io);
void PrintLeverage(const LeverageResult& result, const CliStreams& io);

}  // namespace ulk
