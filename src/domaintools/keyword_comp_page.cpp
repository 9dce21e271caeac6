#include "domaintools/keyword_comp_page.h"

#include "domaintools/keyword_compare.h"
#include "pages/page_layout.h"
#include "pages/stat_show_form.h"
#include "platform/text/string_list.h"
#include "platform/ui/import_lines.h"

namespace orlu {

namespace {

// Keeps the real paths of the lines just added after the first `before`
// lines of the list, under the text the list gives back for them (a byte the
// list cannot show comes back changed).
void KeepPaths(WordFilePaths& kept, const Memo& list, size_t before,
               const std::vector<std::string>& paths) {
  const std::vector<std::string> lines = list.Lines();
  if (lines.size() != before + paths.size()) return;  // a name held a line break
  for (size_t i = 0; i < paths.size(); ++i) kept.Add(lines[before + i], paths[i]);
}

}  // namespace

TKeyWordCompPage::TKeyWordCompPage(TabSheet& page, OpenDialog& openDialog, SaveDialog& saveDialog)
    : page_(page), openDialog_(openDialog), saveDialog_(saveDialog) {
  const int pageHeight = PageHeight(page);
  btnKeyWordFileAdd.SetCaption(Gbk("增加文件"));
  btnKeyWordFileAdd.SetBounds(10, 8, 75, 25);
  Bind(btnKeyWordFileAdd, this, &TKeyWordCompPage::btnKeyWordFileAddClick);
  btnKeyWordFileSAdd.SetCaption(Gbk("添加文件夹"));
  btnKeyWordFileSAdd.SetBounds(90, 8, 80, 25);
  Bind(btnKeyWordFileSAdd, this, &TKeyWordCompPage::btnKeyWordFileSAddClick);
  btnKeyWordFileClear.SetCaption(Gbk("清空"));
  btnKeyWordFileClear.SetBounds(175, 8, 60, 25);
  Bind(btnKeyWordFileClear, this, &TKeyWordCompPage::btnKeyWordFileClearClick);

  lbl65.SetCaption(Gbk("对比文件列表："));
  lbl65.SetBounds(10, 42, 100, 15);
  mmoKeyWordFiles.SetBounds(10, 60, 280, 150);
  mmoKeyWordFiles.SetScrollBars(ScrollBars::Both);
  mmoKeyWordFiles.SetAccessibleName(Gbk("对比文件列表"));

  btn20.SetCaption(Gbk("添加域名"));
  btn20.SetBounds(10, 218, 75, 25);
  Bind(btn20, this, &TKeyWordCompPage::btn20Click);
  btnKeyWordFilesFiler.SetCaption(Gbk("域名对比"));
  btnKeyWordFilesFiler.SetBounds(90, 218, 75, 25);
  btnKeyWordFilesFiler.SetFontColor(colors::Red);
  Bind(btnKeyWordFilesFiler, this, &TKeyWordCompPage::btnKeyWordFilesFilerClick);

  lbl66.SetCaption(Gbk("域名列表："));
  lbl66.SetBounds(10, 252, 100, 15);
  mmoKeyWordDomains.SetBounds(10, 270, 280, pageHeight - 270);
  mmoKeyWordDomains.SetAnchors(kAnchorLeft | kAnchorTop | kAnchorBottom);
  mmoKeyWordDomains.SetScrollBars(ScrollBars::Both);
  mmoKeyWordDomains.SetAccessibleName(Gbk("域名列表"));

  lbl64.SetCaption(Gbk("线程数："));
  lbl64.SetBounds(300, 13, 55, 15);
  edtKeyWordThread.SetBounds(355, 10, 40, 21);
  edtKeyWordThread.SetAccessibleName(Gbk("线程数"));
  btnKeyWordFilesOut.SetCaption(Gbk("导出"));
  btnKeyWordFilesOut.SetBounds(405, 8, 75, 25);
  Bind(btnKeyWordFilesOut, this, &TKeyWordCompPage::btnKeyWordFilesOutClick);

  lvKeyWord.SetBounds(300, 40, kPageWidth - 310, pageHeight - 40);
  lvKeyWord.SetAnchors(kAnchorAll);
  ReportStyle(lvKeyWord);
  lvKeyWord.SetColumns({{"ID", 50}, {Gbk("域名"), 150}, {Gbk("备注"), 300}});
  Bind(lvKeyWord, this, &TKeyWordCompPage::lvKeyWordClick);

  KeyWordFilter.OnUnreadFiles = &TKeyWordCompPage::ShowUnreadFiles;
}

TKeyWordCompPage::~TKeyWordCompPage() {
  EndKeyWordWorkers(KeyWordFilter);
  KeyWordFilter.ResultView = nullptr;
  KeyWordFilter.OnUnreadFiles = nullptr;
}

void TKeyWordCompPage::btnKeyWordFileAddClick() {
  // The list shows paths as GBK text; the real path is kept beside it.
  if (!openDialog_.Execute()) return;
  const auto before = static_cast<size_t>(mmoKeyWordFiles.LineCount());
  mmoKeyWordFiles.Add(DisplayFileName(openDialog_.FileName()));
  KeepPaths(KeyWordFilePaths, mmoKeyWordFiles, before, {openDialog_.FileName()});
}

void TKeyWordCompPage::btnKeyWordFileSAddClick() {
  const auto folder = SelectFolder(Gbk("请选择目录:"), ExtractFileDir(ProgramFileName()));
  if (!folder) return;
  Beep();
  std::vector<std::string> lines = mmoKeyWordFiles.Lines(), paths;
  const size_t before = lines.size();
  Scan.AddFolderTxtFiles(*folder, lines, &paths);
  mmoKeyWordFiles.SetLines(lines);
  KeepPaths(KeyWordFilePaths, mmoKeyWordFiles, before, paths);
}

void TKeyWordCompPage::btnKeyWordFileClearClick() {
  mmoKeyWordFiles.Clear();
  mmoKeyWordDomains.Clear();
  KeyWordFilePaths.Clear();
}

void TKeyWordCompPage::btn20Click() { ImportLines(openDialog_, mmoKeyWordDomains); }

void TKeyWordCompPage::btnKeyWordFilesFilerClick() {
  const std::vector<std::string> files = mmoKeyWordFiles.Lines();
  const std::vector<std::string> paths = KeyWordFilePaths.Resolve(files);
  StartKeyWordCompare(KeyWordFilter, edtKeyWordThread.Text(), files, mmoKeyWordDomains.Lines(),
                      &KeyWordRows, &paths);
}

void TKeyWordCompPage::btnKeyWordFilesOutClick() { ExportWithDialog(saveDialog_, lvKeyWord); }

void TKeyWordCompPage::lvKeyWordClick() {
  if (FormStatShow) ShowListViewItem(lvKeyWord, FormStatShow->mmoStatShow);
}

void TKeyWordCompPage::ShowUnreadFiles(const std::vector<std::string>& paths) {
  if (FormStatShow == nullptr || paths.empty()) return;
  for (const std::string& path : paths) {
    FormStatShow->mmoStatShow.Add(Gbk("无法读取的对比文件：") + path);
  }
  FormStatShow->ShowDocked();
}

}  // namespace orlu
