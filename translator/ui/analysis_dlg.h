// The analysis of the project's work: for each module and target language,
// and for the whole project, the texts, words and characters of each band
// of match, against the open dictionary and, when chosen, another project;
// saved as comma-separated values on request.
#pragma once

#include <string>

#include "translator/dictionary/analysis.h"
#include "translator/ui/ulk_dialog.h"

class wxStaticText;

namespace ulk {

class DictionaryComponent;

class CAnalysisDlg : public UlkDialog {
 public:
  // `project` and `dictionary` (null: none) outlive the dialog; the
  // analyses show their progress through `progress`.
  CAnalysisDlg(wxWindow* parent, const Project& project, DictionaryComponent* dictionary,
               OperationUi& progress);

  // Analyses the project again and shows the table.
  void Analyse();
  // Reads another project to compare with and analyses again; a file that
  // cannot be read is reported and the comparison stays as it was.
  bool CompareWith(const std::string& path);
  // Writes the table as comma-separated values; a failure is reported.
  bool SaveCsv(const std::string& path);

  const AnalysisReport& Report() const { return report_; }
  wxListCtrl* Table() const { return table_; }
  wxStaticText* SourcesLine() const { return sources_; }

 private:
  void FillTable();
  std::string SourcesText() const;

  const Project& project_;
  DictionaryComponent* dictionary_;
  OperationUi& progress_;
  Project other_;
  std::string otherName_;  // "" while there is no other project
  AnalysisReport report_;
  wxListCtrl* table_ = nullptr;
  wxStaticText* sources_ = nullptr;
};

}  // namespace ulk
