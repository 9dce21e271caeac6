// The batch WHOIS page of the main window: the domain list and its import,
// the result list with its hidden twin, the row memo, the buttons that start
// the workers, export the list and open the single-domain window, and the
// list's popup menu.
#include "whois/whois_page.h"

#include <utility>

#include "pages/page_layout.h"
#include "platform/text/errors.h"
#include "platform/text/gbk.h"
#include "platform/ui/import_lines.h"
#include "platform/thread/start_guard.h"
#include "whois/whois_info_form.h"
namespace orlu {

WhoisPageJob::~WhoisPageJob() {
  Workers.Stop();
  if (WhoisConfig.ListView == &Rows) WhoisConfig.ListView = nullptr;
}

namespace {

// The selected row's domain, as shown, into the single-domain window; its
// question runs first, then the window opens modally with the answer.
// Nothing happens without rows, a selected row and the list's focus.
void RunWhoisInfo(ListView& list, TFormWhoisInfo* form, bool detailed) {
  const int row = list.SelectedIndex();
  if (list.RowCount() == 0 || row < 0 || !list.Focused() || form == nullptr) return;
  const std::string domain = list.SubItem(row, 0);
  form->edtWhois.SetText(domain);
  if (detailed) {
    form->ShowDetailWhois(domain);
  } else {
    form->ShowBaseWhois(domain);
  }
  form->ShowModal();
}

}  // namespace

// --- Page ---

TWhoisPage::TWhoisPage(TabSheet& page, OpenDialog& openDialog, SaveDialog& saveDialog)
    : page_(page), openDialog_(openDialog), saveDialog_(saveDialog) {
  lbl9.SetCaption(Gbk("文件："));
  lbl9.SetBounds(10, 12, 40, 13);
  edtWhoisGet.SetBounds(50, 8, 230, 21);
  edtWhoisGet.SetAccessibleName(Gbk("文件"));
  btnWhoisGet.SetCaption(Gbk("导入"));
  btnWhoisGet.SetBounds(285, 6, 60, 25);
  Bind(btnWhoisGet, this, &TWhoisPage::btnWhoisGetClick);

  btnWhoisSearch.SetCaption(Gbk("查询"));
  btnWhoisSearch.SetBounds(360, 6, 75, 25);
  Bind(btnWhoisSearch, this, &TWhoisPage::btnWhoisSearchClick);
  btnWhoisReSearch.SetCaption(Gbk("失败重查"));
  btnWhoisReSearch.SetBounds(440, 6, 75, 25);
  Bind(btnWhoisReSearch, this, &TWhoisPage::btnWhoisReSearchClick);
  btnWhoisExc.SetCaption(Gbk("导出excel"));
  btnWhoisExc.SetBounds(520, 6, 75, 25);
  Bind(btnWhoisExc, this, &TWhoisPage::btnWhoisExcClick);
  btnSingleWhois.SetCaption(Gbk("单域名Whois"));
  btnSingleWhois.SetBounds(600, 6, 95, 25);
  Bind(btnSingleWhois, this, &TWhoisPage::btnSingleWhoisClick);

  mmoWhoisShow.SetAlign(Align::Bottom);
  mmoWhoisShow.SetHeight(95);
  mmoWhoisShow.SetAccessibleName(Gbk("选中行"));
  mmoWhoisShow.SetScrollBars(ScrollBars::Vertical);

  // Sizes from the page as it is now; the anchors keep the distances to its
  // edges when the window is resized.
  const int pageWidth = page.ClientWidth() > 400 ? page.ClientWidth() : kPageWidth;
  const int pageHeight = page.ClientHeight() > 300 ? page.ClientHeight() : 530;
  constexpr int kListTop = 38;
  const int kListHeight = pageHeight - kListTop - mmoWhoisShow.Height() - 6;
  mmoWhoisDomain.SetBounds(10, kListTop, 180, kListHeight);
  mmoWhoisDomain.SetAccessibleName(Gbk("域名列表"));
  mmoWhoisDomain.SetAnchors(kAnchorLeft | kAnchorTop | kAnchorBottom);
  mmoWhoisDomain.SetScrollBars(ScrollBars::Both);
  mmoWhoisDomain.SetLines({"example.com", "example.cn"});

  lvWhois.SetBounds(195, kListTop, pageWidth - 195 - 10, kListHeight);
  lvWhois.SetAnchors(kAnchorAll);
  ReportStyle(lvWhois);
  lvWhois.SetCheckBoxes(true);
  lvWhois.SetColumns({{"ID", 50},
                      {Gbk("域名"), 100},
                      {Gbk("域名状态"), 80},
                      {Gbk("注册单位"), 150},
                      {Gbk("注册商"), 100},
                      {Gbk("注册日期"), 100},
                      {Gbk("过期日期"), 100},
                      {"EMail", 100},
                      {Gbk("域名状态"), 100},
                      {Gbk("联系人"), 100},
                      {"DNS", 100}});
  Bind(lvWhois, this, &TWhoisPage::lvWhoisClick);

  // The hidden twin has the same columns and gets the same rows.
  std::vector<ListColumn> columns;
  for (int c = 0; c < lvWhois.ColumnCount(); ++c) {
    columns.push_back({lvWhois.ColumnCaption(c), lvWhois.ColumnWidth(c)});
  }
  lvWhoisBak.SetColumns(columns);
  lvWhoisBak.SetBounds(195, kListTop, 100, 50);
  lvWhoisBak.Hide();

  actWhoisBaseInfo.Caption = Gbk("域名基本信息");
  actWhoisBaseInfo.OnExecute = [this] { actWhoisBaseInfoExecute(); };
  actWhoisDetail.Caption = Gbk("域名详细信息");
  actWhoisDetail.OnExecute = [this] { actWhoisDetailExecute(); };
  pmWhois.Add(actWhoisBaseInfo.Caption, [this] { actWhoisBaseInfo.Execute(); });
  pmWhois.Add(actWhoisDetail.Caption, [this] { actWhoisDetail.Execute(); });
  lvWhois.SetPopupMenu(&pmWhois);

  // The batch WHOIS workers reach lvWhois (through its row store) only by
  // their settings block.
  WhoisConfig.ListView = &WhoisJob.Rows;
}

void TWhoisPage::FillWhoisRows() {
  lvWhois.Clear();
  lvWhoisBak.Clear();
  WhoisJob.RowLines = mmoWhoisDomain.Lines();
  std::vector<ListRow> rows = BuildWhoisRows(WhoisJob.RowLines);
  lvWhoisBak.AddRows(rows);
  lvWhois.AddRows(std::move(rows));
  WhoisJob.Rows.NewGeneration();
}

void TWhoisPage::btnWhoisSearchClick() {
  if (WhoisJob.Starting) return;
  StartGuard starting(WhoisJob.Starting);
  // The running workers end first: pauses cut short, questions aborted.
  WhoisJob.Workers.Stop();
  FillWhoisRows();
  WhoisJob.Workers.Start(WhoisJob.RowLines);
}

void TWhoisPage::btnWhoisReSearchClick() {
  // A re-query while workers still run would ask rows twice.
  if (WhoisJob.Starting || WhoisJob.Workers.Running()) return;
  WhoisJob.Workers.Start(WhoisJob.RowLines);
}

void TWhoisPage::btnWhoisGetClick() { ImportLines(openDialog_, mmoWhoisDomain, &edtWhoisGet); }

void TWhoisPage::btnWhoisExcClick() { ExportWithDialog(saveDialog_, lvWhois); }

void TWhoisPage::lvWhoisClick() {
  const int row = lvWhois.SelectedIndex();
  if (lvWhois.RowCount() == 0 || row < 0) return;
  std::string line = lvWhois.RowCaption(row);
  for (int cell = 0; cell < kWhoisRowCells; ++cell) {
    line += '\t';
    line += lvWhois.SubItem(row, cell);
  }
  mmoWhoisShow.Clear();
  mmoWhoisShow.Add(line);
}

void TWhoisPage::btnSingleWhoisClick() {
  if (FormWhoisInfo) FormWhoisInfo->Show();
}

void TWhoisPage::actWhoisBaseInfoExecute() { RunWhoisInfo(lvWhois, FormWhoisInfo, false); }

void TWhoisPage::actWhoisDetailExecute() { RunWhoisInfo(lvWhois, FormWhoisInfo, true); }

}  // namespace orlu
