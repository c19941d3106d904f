// Fuzz target: the XLIFF reader of the exchange (see exchange_fuzzer.h).
#include "fuzz/exchange_fuzzer.h"
#include "translator/exchange/xliff_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return ulk::fuzz::FuzzExchangeReader(
      data, size, true,
      [](std::string_view bytes, ulk::ImportFile& file, std::string& error) {
        return ulk::ReadXliff(bytes, file, error);
      },
      [](const ulk::ImportFile& file, const std::vector<ulk::ExportUnit>& units) {
        ulk::ExportHeader header;
        header.targetTag = file.targetLanguage;
        return ulk::WriteXliff(header, units);
      });
}
