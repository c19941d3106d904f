// The administrator on a large dictionary, under a display:
//   glossmith_bench WORK_FOLDER
// 1,000,000 texts, 999,000 of them in the first language (by name, the one
// shown on opening) and 1,000 in the second, each linked with one of the
// first. Measures opening the dictionary in the main window until it is
// usable (both lists filled, the first text selected, the window painted),
// a find through every text that matches nothing, and the type filter.
// Baseline from the same run: the bare query of the same rows.
#include <time.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include <wx/app.h>
#include <wx/apptrait.h>
#include <wx/evtloop.h>

#include "bench/bench_util.h"
#include "glossmith/db/dictionary_store.h"
#include "glossmith/ui/glossmith_dlg.h"
#include "glossmith/ui/glossmith_ids.h"
#include "uikit/striped_list.h"
#include "uikit/command_id.h"
#include "uikit/spanish.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFirstTexts = 999000;
constexpr int kSecondTexts = 1000;
const char* const kTypes[] = {"ST", "MN", "DL", "VS"};

void BuildDictionary(const std::string& path) {
  fs::remove(path);
  ulk::DictionaryConnection connection;
  ulk::DictionaryStore store(connection);
  if (!ulk::OpenDictionary(connection, store, path).ok) std::abort();
  connection.Execute("pragma synchronous=off");
  connection.Begin();
  const std::int64_t first = std::stoll(*store.AddLanguage("Deutsch"));
  const std::int64_t second = std::stoll(*store.AddLanguage("English"));
  ulk::PreparedStatement* text = connection.Prepared(
      "insert into texts (text_id, text_type, text_lang_id, text_text) values (?, ?, ?, ?)");
  ulk::PreparedStatement* link = connection.Prepared(
      "insert into translations (tran_text_id_1, tran_text_id_2) values (?, ?)");
  // Texts in no particular order, as a dictionary grows.
  std::uint64_t state = 7;
  for (std::int64_t n = 1; n <= kFirstTexts; ++n) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    text->Reset()
        .Bind(n)
        .Bind(kTypes[n % 4])
        .Bind(first)
        .Bind("Beispieltext Nummer " + std::to_string(state >> 40) + " " + std::to_string(n));
    text->Step();
  }
  for (std::int64_t n = 1; n <= kSecondTexts; ++n) {
    const std::int64_t id = kFirstTexts + n;
    text->Reset()
        .Bind(id)
        .Bind(kTypes[n % 4])
        .Bind(second)
        .Bind("Sample text " + std::to_string(n));
    text->Step();
    link->Reset().Bind(n).Bind(id);
    link->Step();
    link->Reset().Bind(id).Bind(n);
    link->Step();
  }
  // The text shown first gets a translation too.
  auto shownFirst = connection.Query(
      "select text_id from texts where text_lang_id=1 order by text_type, text_text limit 1");
  const std::int64_t firstShown = std::stoll(*shownFirst->Column(0));
  shownFirst.reset();
  link->Reset().Bind(firstShown).Bind(std::int64_t{kFirstTexts + kSecondTexts});
  link->Step();
  link->Reset().Bind(std::int64_t{kFirstTexts + kSecondTexts}).Bind(firstShown);
  link->Step();
  connection.Commit();
}

// Wall-clock and processor seconds of a piece of work: on a busy machine
// the processor time tells what an idle one would take.
struct Timing {
  double wall = 0;
  double cpu = 0;
};

double ProcessorSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

Timing Measure(const std::function<void()>& work) {
  Timing timing;
  const double start = ProcessorSeconds();
  timing.wall = ulk::bench::Seconds(work);
  timing.cpu = ProcessorSeconds() - start;
  return timing;
}

void Report(const std::string& what, const Timing& value, const Timing& baseline) {
  ulk::bench::Report((what + " (wall)").c_str(), value.wall, "s", baseline.wall,
                     "bare query of the rows", "< 1 s");
  ulk::bench::Report((what + " (cpu)").c_str(), value.cpu, "s", baseline.cpu,
                     "bare query of the rows", "< 1 s");
}

// The rows the window shows, read and dropped.
Timing BareQuery(const std::string& path) {
  ulk::DictionaryConnection connection;
  connection.Open(path);
  return Measure([&] {
    ulk::PreparedStatement* query = connection.Prepared(
        "select text_id, text_type, text_text from texts where text_lang_id=? order by "
        "text_type, text_text");
    query->Reset().Bind(std::int64_t{1});
    std::size_t bytes = 0;
    while (query->Step() == SQLITE_ROW) {
      bytes += query->TextView(0).size() + query->TextView(1).size() + query->TextView(2).size();
    }
    if (bytes == 0) std::abort();
  });
}

void Settle() {
  for (int round = 0; round < 3; ++round) {
    wxTheApp->ProcessPendingEvents();
    if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
      while (loop->Pending()) loop->Dispatch();
    }
    wxTheApp->ProcessIdle();
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "uso: glossmith_bench CARPETA\n");
    return 2;
  }
  const std::string path = std::string(argv[1]) + "/large.dic";
  const double build = ulk::bench::Seconds([&] { BuildDictionary(path); });
  std::printf("dictionary: %d texts (%d in the first language), %.0f MB (built in %.1f s)\n",
              kFirstTexts + kSecondTexts, kFirstTexts,
              static_cast<double>(fs::file_size(path)) / 1e6, build);

  ulk::PrepareSpanishEnvironment();
  wxApp::SetInstance(new wxApp());
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "glossmith_bench: no hay pantalla\n");
    return 1;
  }
  ulk::SetUpSpanishTranslations();
  wxEventLoopBase* loop = wxTheApp->GetTraits()->CreateEventLoop();
  {
    wxEventLoopActivator activate(loop);
    BareQuery(path);  // warms the file cache for both
    const Timing bare = BareQuery(path);

    auto* window = new ulk::glossmith::CGlossmithDlg();
    window->SetSize(1000, 700);
    window->Show();
    Settle();
    const double memoryBefore = ulk::bench::ResidentMemory();
    const Timing open = Measure([&] {
      window->OpenPath(path);
      window->Update();  // painted
    });
    const double memoryAfter = ulk::bench::ResidentMemory();
    if (window->textsList()->GetItemCount() != kFirstTexts ||
        window->textsList()->SelectedRow() != 0 || window->translationsList()->GetItemCount() < 1) {
      std::fprintf(stderr, "glossmith_bench: the window does not show the dictionary\n");
      return 1;
    }
    Report("open 1,000,000 texts to a usable window", open, bare);
    std::printf("%-44s %10.0f MB\n", "memory for the shown rows",
                (memoryAfter - memoryBefore) / 1e6);

    ulk::DictionaryBrowser& browser = window->browser();
    browser.find() = {"no such text", false, true};
    Report("find through every text, no match", Measure([&] { browser.FindNext(); }), bare);
    const Timing filter = Measure([&] {
      wxCommandEvent menus(wxEVT_MENU, ulk::WxId(ulk::glossmith::kCmdFilterMenus));
      window->ProcessWindowEvent(menus);
      window->Update();
    });
    if (window->textsList()->GetItemCount() != kFirstTexts / 4) {
      std::fprintf(stderr, "glossmith_bench: the filter shows %d texts\n",
                   window->textsList()->GetItemCount());
    }
    Report("filter on one type", filter, bare);
    window->Destroy();
    Settle();
  }
  delete loop;
  wxEntryCleanup();
  return 0;
}
