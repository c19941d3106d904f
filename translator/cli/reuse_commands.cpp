// The analysis as a table, JSON or CSV, and the report of reuse.
#include "translator/cli/reuse_commands.h"

#include "translator/cli/json_writer.h"

namespace ulk {
namespace {

long long Count(std::size_t value) {
  return static_cast<long long>(value);
}

void PrintJson(const AnalysisReport& report, const CliStreams& io) {
  static constexpr const char* kKeys[kBandCount] = {
      "translated", "context", "exact", "repetitions", "95-99", "85-94", "75-84", "50-74", "none"};
  JsonWriter writer;
  writer.BeginArray();
  for (const AnalysisLine& line : report.lines) {
    writer.BeginObject();
    if (line.module.empty()) {
      writer.Key("module").Null();
    } else {
      writer.Key("module").String(line.module);
    }
    writer.Key("language").String(line.language);
    writer.Key("bands").BeginObject();
    for (std::size_t band = 0; band < kBandCount; ++band) {
      const AnalysisCounts& counts = line.bands[band];
      writer.Key(kKeys[band]).BeginObject();
      writer.Key("texts").Number(Count(counts.texts));
      writer.Key("words").Number(Count(counts.words));
      writer.Key("characters").Number(Count(counts.characters));
      writer.EndObject();
    }
    writer.EndObject();
    writer.EndObject();
  }
  writer.EndArray();
  std::fprintf(io.out, "%s\n", writer.Text().c_str());
}

void PrintTable(const AnalysisReport& report, const CliStreams& io) {
  for (const AnalysisLine& line : report.lines) {
    std::fprintf(io.out, "%s — %s\n", line.module.empty() ? "Proyecto" : line.module.c_str(),
                 line.language.c_str());
    std::fprintf(io.out, "  %-18s %8s %9s %11s\n", "Banda", "Textos", "Palabras", "Caracteres");
    for (std::size_t band = 0; band < kBandCount; ++band) {
      const AnalysisCounts& counts = line.bands[band];
      std::fprintf(io.out, "  %-18s %8zu %9zu %11zu\n",
                   AnalysisBandLabel(static_cast<AnalysisBand>(band)), counts.texts, counts.words,
                   counts.characters);
    }
    const AnalysisCounts total = line.Total();
    std::fprintf(io.out, "  %-18s %8zu %9zu %11zu\n\n", "Total", total.texts, total.words,
                 total.characters);
  }
}

}  // namespace

void PrintAnalysis(const AnalysisReport& report, AnalysisFormat format, const CliStreams& io) {
  switch (format) {
    case AnalysisFormat::kJson: PrintJson(report, io); break;
    case AnalysisFormat::kCsv: std::fputs(AnalysisCsv(report).c_str(), io.out); break;
    case AnalysisFormat::kTable: PrintTable(report, io); break;
  }
}

void PrintLeverage(const LeverageResult& result, const CliStreams& io) {
  for (const LanguageLeverage& line : result.languages) {
    std::fprintf(io.out, "%s: %zu (contexto: %zu, 100 %%: %zu, parecidos, por revisar: %zu)\n",
                 line.language.c_str(), line.Total(), line.filled[kLeverageContext],
                 line.filled[kLeverageExact], line.filled[kLeverageSimilar]);
  }
  std::fprintf(io.out, "Textos reutilizados: %zu\n", result.Total());
}

}  // namespace ulk
