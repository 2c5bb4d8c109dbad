#include "panel/analysis_window.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "chart/chart_render.h"
#include "chart/sample_selection.h"
#include "common/file_io.h"
#include "common/number_format.h"
#include "common/user_dialog.h"
#include "panel/analysis_choices.h"
#include "panel/scatter_view.h"

namespace dravik {
namespace {

constexpr int kScatterTab = 0;
constexpr int kNoItem = -1;

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

std::string Utf8(const QString& text) {
  return text.toStdString();
}

// A typed field that holds a bad value turns red and says why in its tooltip.
void MarkField(QLineEdit* field, const QString& problem) {
  field->setStyleSheet(problem.isEmpty() ? QString()
                                         : QStringLiteral("QLineEdit { background: #ffc8c8; }"));
  field->setToolTip(problem);
}

QColor CellColour(double t) {
  // The scale's colours lightened, so that the numbers stay readable on them.
  const Rgb rgb = ValueScaleColour(t);
  const auto light = [](int c) { return (c + 2 * 255) / 3; };
  return QColor(light(RedOf(rgb)), light(GreenOf(rgb)), light(BlueOf(rgb)));
}

}  // namespace

AnalysisWindow::AnalysisWindow(const LogTable& table, Settings& settings, UserDialog& dialogs,
                               CursorSectionSource cursor_section, QWidget* parent)
    : TopLevelWindow(parent, Qt::Window),
      table_(table),
      settings_(settings),
      dialogs_(dialogs),
      cursor_section_(std::move(cursor_section)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);
  BuildControls();
  // A place kept from a larger screen, and the first size on a small or magnified one, are
  // brought wholly onto the screen, so that every control can be reached.
  const AnalysisChoices& a = settings_.analysis;
  const QScreen* screen = (parent != nullptr ? parent->window() : this)->screen();
  if (a.xsize > 0 && a.ysize > 0) {
    Rect place{a.xpos, a.ypos, a.xsize, a.ysize};
    if (screen != nullptr) {
      place = FitOnScreen(place, TwipsRect(screen->availableGeometry()), 0, 0);
    }
    SetOuterRectTwips(QRect(place.left, place.top, place.width, place.height));
  } else {
    QSize size(960, 720);
    if (screen != nullptr) {
      size = size.boundedTo(screen->availableGeometry().size().shrunkBy(FrameExtents(*this)));
    }
    resize(size);
  }
  FillItemLists();
  Refresh();
}

AnalysisWindow::~AnalysisWindow() {
  if (worker_.joinable()) {
    worker_.join();
  }
}

void AnalysisWindow::BuildControls() {
  const auto combo = [this](const char* name) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(14);
    return box;
  };
  const auto field = [](const char* name, QWidget* page) {
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
  };
  cmb_x_item_ = combo("cmbXItem");
  cmb_y_item_ = combo("cmbYItem");
  cmb_colour_item_ = combo("cmbColourItem");
  cmb_range_ = combo("cmbRange");
  cmb_range_->addItems({QString(), QString()});
  cmb_range_->setCurrentIndex(settings_.analysis.range == 1 ? 1 : 0);
  cmb_filter_item_ = combo("cmbFilterItem");
  txt_filter_min_ = field("txtFilterMin", this);
  txt_filter_max_ = field("txtFilterMax", this);
  txt_filter_min_->setText(Text(settings_.analysis.filter_min));
  txt_filter_max_->setText(Text(settings_.analysis.filter_max));

  auto* choices = new QGridLayout;
  AddCaptioned(choices, 0, 0, QT_TR_NOOP("X軸:"), cmb_x_item_, this);
  AddCaptioned(choices, 0, 2, QT_TR_NOOP("Y軸:"), cmb_y_item_, this);
  AddCaptioned(choices, 0, 4, QT_TR_NOOP("色:"), cmb_colour_item_, this);
  AddCaptioned(choices, 1, 0, QT_TR_NOOP("範囲:"), cmb_range_, this);
  AddCaptioned(choices, 1, 2, QT_TR_NOOP("条件:"), cmb_filter_item_, this);
  auto* bounds = new QHBoxLayout;
  bounds->addWidget(Caption(QT_TR_NOOP("最小:"), txt_filter_min_, this));
  bounds->addWidget(txt_filter_min_);
  bounds->addWidget(Caption(QT_TR_NOOP("最大:"), txt_filter_max_, this));
  bounds->addWidget(txt_filter_max_);
  choices->addLayout(bounds, 1, 4, 1, 2);
  choices->setColumnStretch(1, 1);
  choices->setColumnStretch(3, 1);
  choices->setColumnStretch(5, 1);

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tabAnalysis"));
  auto* scatter_page = new QWidget(tabs_);
  scatter_ = new ScatterView(scatter_page);
  scatter_->setObjectName(QStringLiteral("picScatter"));
  lbl_readout_ = new QLabel(scatter_page);
  lbl_readout_->setObjectName(QStringLiteral("lblReadout"));
  lbl_readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* scatter_layout = new QVBoxLayout(scatter_page);
  scatter_layout->addWidget(scatter_, 1);
  scatter_layout->addWidget(lbl_readout_);
  tabs_->addTab(scatter_page, QString());

  auto* table_page = new QWidget(tabs_);
  txt_bins_x_ = field("txtBinsX", table_page);
  txt_bins_y_ = field("txtBinsY", table_page);
  txt_bins_x_->setText(Text(settings_.analysis.bins_x));
  txt_bins_y_->setText(Text(settings_.analysis.bins_y));
  cmb_statistic_ = new QComboBox(table_page);
  cmb_statistic_->setObjectName(QStringLiteral("cmbStatistic"));
  cmb_statistic_->addItems({QString(), QString(), QString(), QString()});
  cmb_statistic_->setCurrentIndex(std::clamp(settings_.analysis.statistic, 0, 3));
  spn_min_count_ = new QSpinBox(table_page);
  spn_min_count_->setObjectName(QStringLiteral("spnMinCount"));
  spn_min_count_->setRange(1, 999'999'999);
  spn_min_count_->setValue(std::max(settings_.analysis.min_count, 1));
  lbl_table_message_ = new QLabel(table_page);
  lbl_table_message_->setObjectName(QStringLiteral("lblTableMessage"));
  lbl_table_message_->setStyleSheet(QStringLiteral("color: #a00000;"));
  lbl_table_message_->setWordWrap(true);
  tbl_bins_ = new QTableWidget(table_page);
  tbl_bins_->setObjectName(QStringLiteral("tblBins"));
  tbl_bins_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tbl_bins_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tbl_bins_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* bins_row = new QGridLayout;
  AddCaptioned(bins_row, 0, 0, QT_TR_NOOP("X軸の区切り:"), txt_bins_x_, table_page);
  AddCaptioned(bins_row, 0, 2, QT_TR_NOOP("統計:"), cmb_statistic_, table_page);
  AddCaptioned(bins_row, 1, 0, QT_TR_NOOP("Y軸の区切り:"), txt_bins_y_, table_page);
  AddCaptioned(bins_row, 1, 2, QT_TR_NOOP("最少件数:"), spn_min_count_, table_page);
  bins_row->setColumnStretch(1, 1);
  auto* table_layout = new QVBoxLayout(table_page);
  table_layout->addLayout(bins_row);
  table_layout->addWidget(lbl_table_message_);
  table_layout->addWidget(tbl_bins_, 1);
  tabs_->addTab(table_page, QString());

  cmd_copy_ = new QPushButton(this);
  cmd_copy_->setObjectName(QStringLiteral("cmdCopy"));
  cmd_save_picture_ = new QPushButton(this);
  cmd_save_picture_->setObjectName(QStringLiteral("cmdSavePicture"));
  cmd_close_ = new QPushButton(this);
  cmd_close_->setObjectName(QStringLiteral("cmdClose"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmd_copy_);
  buttons->addWidget(cmd_save_picture_);
  buttons->addWidget(cmd_close_);

  WriteTexts();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addWidget(tabs_, 1);
  layout->addLayout(buttons);

  for (QComboBox* list : {cmb_x_item_, cmb_y_item_, cmb_colour_item_, cmb_filter_item_}) {
    connect(list, &QComboBox::activated, this, [this, list] {
      // The user chose: a remembered item the log lacked is forgotten for this list.
      const QComboBox* lists[] = {cmb_x_item_, cmb_y_item_, cmb_colour_item_, cmb_filter_item_};
      missing_[std::find(std::begin(lists), std::end(lists), list) - std::begin(lists)].clear();
      x_zoom_.reset();
      y_zoom_.reset();
      ChoicesChanged();
    });
  }
  connect(cmb_range_, &QComboBox::activated, this, [this] { ChoicesChanged(); });
  connect(cmb_statistic_, &QComboBox::activated, this, [this] { ChoicesChanged(); });
  connect(spn_min_count_, &QSpinBox::valueChanged, this, [this] { ChoicesChanged(); });
  for (QLineEdit* edit : {txt_filter_min_, txt_filter_max_, txt_bins_x_, txt_bins_y_}) {
    connect(edit, &QLineEdit::textEdited, this, [this] { ChoicesChanged(); });
  }
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
    UpdateButtons();
    if (tab == kScatterTab ? scatter_stale_ : table_stale_) {
      Refresh();
    }
  });
  connect(scatter_, &ScatterView::PlotResized, this, [this] {
    scatter_stale_ = true;
    if (tabs_->currentIndex() == kScatterTab) {
      Refresh();
    }
  });
  connect(scatter_, &ScatterView::ZoomRequested, this,
          [this](const PlotRange& x, const PlotRange& y) {
            x_zoom_ = x;
            y_zoom_ = y;
            scatter_stale_ = true;
            Refresh();
          });
  connect(scatter_, &ScatterView::ZoomReset, this, [this] {
    if (x_zoom_ || y_zoom_) {
      x_zoom_.reset();
      y_zoom_.reset();
      scatter_stale_ = true;
      Refresh();
    }
  });
  connect(scatter_, &ScatterView::Hovered, this, &AnalysisWindow::ShowReadout);
  connect(scatter_, &ScatterView::HoverLeft, lbl_readout_, &QLabel::clear);
  connect(cmd_copy_, &QPushButton::clicked, this, &AnalysisWindow::CopyView);
  connect(cmd_save_picture_, &QPushButton::clicked, this, &AnalysisWindow::SavePicture);
  connect(cmd_close_, &QPushButton::clicked, this, &QWidget::close);
}

void AnalysisWindow::FillItemLists() {
  const AnalysisChoices& a = settings_.analysis;
  const std::string remembered[4] = {a.x_item, a.y_item, a.colour_item, a.filter_item};
  QComboBox* lists[4] = {cmb_x_item_, cmb_y_item_, cmb_colour_item_, cmb_filter_item_};
  // Without a remembered item, engine speed (else the first item) across and the first other
  // item down.
  const int across = table_.engine_speed_item > 0 ? table_.engine_speed_item : 1;
  const int defaults[4] = {across, across == 1 ? 2 : 1, kNoItem, kNoItem};
  for (int k = 0; k < 4; ++k) {
    QComboBox* list = lists[k];
    list->clear();
    list->addItem(tr("なし"), kNoItem);
    for (int item = 1; item <= table_.item_count; ++item) {
      list->addItem(Text(table_.item_names[item]), item);
    }
    missing_[k].clear();
    int chosen = kNoItem;
    if (!remembered[k].empty()) {
      chosen = ItemNamed(table_, remembered[k]);
      if (chosen == kNoItem && table_.IsLoaded()) {
        missing_[k] = Text(remembered[k]);
      }
    } else if (table_.IsLoaded() && defaults[k] <= table_.item_count) {
      chosen = defaults[k];
    }
    list->setCurrentIndex(std::max(list->findData(chosen), 0));
  }
}

int AnalysisWindow::SelectedItem(const QComboBox* list) const {
  const QVariant item = list->currentData();
  return item.isValid() ? item.toInt() : kNoItem;
}

QString AnalysisWindow::ItemTitle(int item) const {
  return item >= 0 && item <= table_.item_count &&
                 static_cast<size_t>(item) < table_.item_names.size()
             ? Text(table_.item_names[static_cast<size_t>(item)])
             : QString();
}

void AnalysisWindow::StoreChoices() {
  AnalysisChoices& a = settings_.analysis;
  const auto name = [this](const QComboBox* list, const QString& missing) {
    return missing.isEmpty() ? Utf8(ItemTitle(SelectedItem(list))) : Utf8(missing);
  };
  // While a log is read the lists still name the old one's items, whose names are going.
  if (table_.IsLoaded() && !table_changing_) {
    a.x_item = name(cmb_x_item_, missing_[0]);
    a.y_item = name(cmb_y_item_, missing_[1]);
    a.colour_item = name(cmb_colour_item_, missing_[2]);
    a.filter_item = name(cmb_filter_item_, missing_[3]);
  }
  a.range = cmb_range_->currentIndex();
  a.filter_min = Utf8(txt_filter_min_->text());
  a.filter_max = Utf8(txt_filter_max_->text());
  a.bins_x = Utf8(txt_bins_x_->text());
  a.bins_y = Utf8(txt_bins_y_->text());
  a.statistic = cmb_statistic_->currentIndex();
  a.min_count = spn_min_count_->value();
}

void AnalysisWindow::ChoicesChanged() {
  StoreChoices();
  scatter_stale_ = true;
  table_stale_ = true;
  Refresh();
}

std::optional<AnalysisWindow::Job> AnalysisWindow::MakeJob(QString& problem) {
  if (!table_.IsLoaded()) {
    problem = tr("ログが開かれていません。");
    return std::nullopt;
  }
  for (int k = 0; k < 4; ++k) {
    if (!missing_[k].isEmpty()) {
      problem = Text(MissingItemMessage(Utf8(missing_[k])));
      return std::nullopt;
    }
  }
  const int x = SelectedItem(cmb_x_item_);
  const int y = SelectedItem(cmb_y_item_);
  if (x == kNoItem || y == kNoItem) {
    problem = tr("X軸とY軸の項目を選んでください。");
    return std::nullopt;
  }
  const BoundInput low = ParseBound(Utf8(txt_filter_min_->text()));
  const BoundInput high = ParseBound(Utf8(txt_filter_max_->text()));
  const QString not_number = tr("数値ではありません。");
  MarkField(txt_filter_min_, low.ok ? QString() : not_number);
  MarkField(txt_filter_max_, high.ok ? QString() : not_number);
  if (!low.ok || !high.ok) {
    problem = tr("条件の最小・最大が数値ではありません。");
    return std::nullopt;
  }
  Job job;
  job.generation = ++generation_;
  job.scatter = tabs_->currentIndex() == kScatterTab;
  SampleSelection selection = WholeRange(0, table_.last_sample);
  if (cmb_range_->currentIndex() == 1) {
    const SampleSection section = cursor_section_();
    section_ = section;
    selection = SelectionWithin(section.first, section.last, table_.last_sample);
  }
  selection.filter_item = SelectedItem(cmb_filter_item_);
  if (selection.filter_item != kNoItem) {
    selection.filter_min = low.value.value_or(selection.filter_min);
    selection.filter_max = high.value.value_or(selection.filter_max);
  }
  const int colour = SelectedItem(cmb_colour_item_);
  ScatterRequest& scatter = job.scatter_request;
  scatter.x_item = x;
  scatter.y_item = y;
  scatter.colour_item = colour;
  scatter.selection = selection;
  const QSize size = scatter_->PlotSizeDevicePx();
  scatter.width_px = size.width();
  scatter.height_px = size.height();
  scatter.point_px = scatter_->PointSizeDevicePx(selection.last - selection.first + 1);
  job.x_zoom = x_zoom_;
  job.y_zoom = y_zoom_;
  BinTableRequest& request = job.table_request;
  request.x_item = x;
  request.y_item = y;
  request.value_item = colour;
  request.selection = selection;
  request.statistic = static_cast<CellStatistic>(cmb_statistic_->currentIndex());
  request.min_count = spn_min_count_->value();
  if (!job.scatter) {
    const BinEdgesInput bins_x = ParseBinEdges(Utf8(txt_bins_x_->text()));
    const BinEdgesInput bins_y = ParseBinEdges(Utf8(txt_bins_y_->text()));
    MarkField(txt_bins_x_, Text(bins_x.message));
    MarkField(txt_bins_y_, Text(bins_y.message));
    if (!bins_x.ok || !bins_y.ok) {
      // The last good table stays; the field says what is wrong.
      problem.clear();
      return std::nullopt;
    }
    if (!bins_x.automatic) {
      request.x_edges = bins_x.edges;
    }
    if (!bins_y.automatic) {
      request.y_edges = bins_y.edges;
    }
  }
  return job;
}

void AnalysisWindow::Refresh() {
  cmb_statistic_->setEnabled(SelectedItem(cmb_colour_item_) != kNoItem);
  if (table_changing_) {
    return;
  }
  if (busy_) {
    pending_ = true;
    return;
  }
  QString problem;
  std::optional<Job> job = MakeJob(problem);
  if (!job) {
    if (!problem.isEmpty()) {
      ShowProblem(problem);
    }
    return;
  }
  StartJob(std::move(*job));
}

void AnalysisWindow::StartJob(Job job) {
  if (worker_.joinable()) {
    worker_.join();
  }
  busy_ = true;
  pending_ = false;
  (job.scatter ? scatter_stale_ : table_stale_) = false;
  worker_ = std::thread([this, job = std::move(job)] {
    std::shared_ptr<const ScatterPlot> plot;
    std::shared_ptr<const BinTableResult> table;
    QString failure;
    try {
      if (job.scatter) {
        plot = std::make_shared<const ScatterPlot>(
            MakeScatterPlot(table_, job.scatter_request, job.x_zoom ? &*job.x_zoom : nullptr,
                            job.y_zoom ? &*job.y_zoom : nullptr));
      } else {
        table = std::make_shared<const BinTableResult>(ComputeBinTable(table_, job.table_request));
      }
    } catch (const std::bad_alloc&) {
      failure = tr("メモリが不足しています。");
    }
    QMetaObject::invokeMethod(
        this,
        [this, generation = job.generation, scatter = job.scatter, plot, table, failure] {
          JobFinished(generation, scatter, plot, table, failure);
        },
        Qt::QueuedConnection);
  });
}

void AnalysisWindow::JobFinished(uint64_t generation, bool scatter,
                                 std::shared_ptr<const ScatterPlot> plot,
                                 std::shared_ptr<const BinTableResult> table,
                                 const QString& failure) {
  if (worker_.joinable()) {
    worker_.join();
  }
  busy_ = false;
  // A newer choice was made while this ran: what it made is stale and the newer one runs now.
  if (generation == generation_ && !pending_ && !table_changing_) {
    if (!failure.isEmpty()) {
      (scatter ? scatter_stale_ : table_stale_) = true;
      ShowProblem(failure);
    } else if (scatter) {
      if (plot->ok) {
        plot_ = plot;
        const int colour = SelectedItem(cmb_colour_item_);
        scatter_->ShowPlot(plot, ItemTitle(SelectedItem(cmb_x_item_)),
                           ItemTitle(SelectedItem(cmb_y_item_)),
                           colour == kNoItem ? QString() : ItemTitle(colour));
        UpdateButtons();
      } else {
        ShowProblem(Text(AnalysisProblemMessage(plot->too_few_samples
                                                    ? AnalysisProblem::kTooFewSamples
                                                    : AnalysisProblem::kNoMatchingSample)));
      }
    } else if (table->problem != AnalysisProblem::kNone) {
      ShowProblem(Text(AnalysisProblemMessage(table->problem)));
    } else {
      ShowTable(table->table);
    }
  } else if (generation != generation_ || pending_) {
    (scatter ? scatter_stale_ : table_stale_) = true;
  }
  if (pending_ && !table_changing_) {
    Refresh();
  }
}

void AnalysisWindow::ShowProblem(const QString& text) {
  if (tabs_->currentIndex() == kScatterTab) {
    plot_.reset();
    scatter_->ShowMessage(text);
    lbl_readout_->clear();
  } else {
    bin_table_.reset();
    tbl_bins_->clear();
    tbl_bins_->setRowCount(0);
    tbl_bins_->setColumnCount(0);
    lbl_table_message_->setText(text);
    lbl_table_message_->show();
  }
  UpdateButtons();
}

void AnalysisWindow::ShowTable(const BinTable& table) {
  bin_table_ = table;
  lbl_table_message_->clear();
  lbl_table_message_->hide();
  const int columns = table.XBins();
  const int rows = table.YBins();
  tbl_bins_->clear();
  tbl_bins_->setColumnCount(columns);
  tbl_bins_->setRowCount(rows);
  QStringList x_labels;
  for (int x = 0; x < columns; ++x) {
    x_labels << Text(BinLabel(table.x_edges, x));
  }
  QStringList y_labels;
  // The highest Y bin at the top, as on the scatter plot.
  for (int y = rows - 1; y >= 0; --y) {
    y_labels << Text(BinLabel(table.y_edges, y));
  }
  tbl_bins_->setHorizontalHeaderLabels(x_labels);
  tbl_bins_->setVerticalHeaderLabels(y_labels);
  double low = 0;
  double high = 0;
  bool any = false;
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) {
      if (table.Shown(x, y)) {
        const double v = table.Value(x, y);
        low = any ? std::min(low, v) : v;
        high = any ? std::max(high, v) : v;
        any = true;
      }
    }
  }
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) {
      auto* cell = new QTableWidgetItem(Text(CellText(table, x, y)));
      cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (table.Shown(x, y)) {
        cell->setBackground(
            CellColour(high > low ? (table.Value(x, y) - low) / (high - low) : 0.5));
      }
      tbl_bins_->setItem(rows - 1 - y, x, cell);
    }
  }
  UpdateButtons();
}

void AnalysisWindow::UpdateButtons() {
  const bool scatter = tabs_->currentIndex() == kScatterTab;
  cmd_copy_->setEnabled(scatter ? plot_ != nullptr : bin_table_.has_value());
  cmd_save_picture_->setEnabled(scatter && plot_ != nullptr);
}

void AnalysisWindow::ShowReadout(double x, double y, qint64 pixel) {
  if (plot_ == nullptr || table_changing_) {
    return;
  }
  QString text = ItemTitle(SelectedItem(cmb_x_item_)) + QStringLiteral(": ") +
                 Text(FormatGeneral(x)) + QStringLiteral("    ") +
                 ItemTitle(SelectedItem(cmb_y_item_)) + QStringLiteral(": ") +
                 Text(FormatGeneral(y));
  const ScatterImage& image = plot_->image;
  const size_t at = static_cast<size_t>(pixel);
  if (pixel >= 0 && !image.sample_at.empty() && at < image.sample_at.size() &&
      image.sample_at[at] >= 0) {
    const int colour = SelectedItem(cmb_colour_item_);
    text += QStringLiteral("    ") + ItemTitle(colour) + QStringLiteral(": ") +
            Text(FormatGeneral(table_.Values(colour)[image.sample_at[at]]));
  } else if (pixel >= 0 && at < image.density.size() && image.density[at] > 0) {
    text += QStringLiteral("    ") + tr("件数: ") + QString::number(image.density[at]);
  }
  lbl_readout_->setText(text);
}

void AnalysisWindow::CopyView() {
  if (tabs_->currentIndex() == kScatterTab) {
    if (plot_ != nullptr) {
      QGuiApplication::clipboard()->setImage(scatter_->grab().toImage());
    }
  } else if (bin_table_) {
    QGuiApplication::clipboard()->setText(Text(BinTableText(*bin_table_)));
  }
}

void AnalysisWindow::SavePicture() {
  if (plot_ == nullptr) {
    return;
  }
  const QImage picture = scatter_->grab().toImage();
  const QString path = dialogs_.ChooseFileToSave(
      this, QDir::home().filePath(QStringLiteral("scatter.png")), QStringLiteral("PNG (*.png)"));
  if (path.isEmpty()) {
    return;
  }
  const FileWriteResult saved = WritePngFile(picture, QFile::encodeName(path).toStdString());
  if (!saved.ok) {
    dialogs_.ShowSaveFailure(this, path, saved.error_number);
  }
}

void AnalysisWindow::WaitForWork() {
  table_changing_ = true;
  if (worker_.joinable()) {
    worker_.join();
  }
  // What the work made belongs to the old log.
  ++generation_;
  busy_ = false;
  pending_ = false;
}

void AnalysisWindow::LogLoaded() {
  table_changing_ = false;
  x_zoom_.reset();
  y_zoom_.reset();
  FillItemLists();
  scatter_stale_ = true;
  table_stale_ = true;
  Refresh();
}

void AnalysisWindow::LogCleared() {
  LogLoaded();
}

void AnalysisWindow::CursorsPlaced() {
  if (cmb_range_->currentIndex() != 1 || !table_.IsLoaded() || table_changing_) {
    return;
  }
  const SampleSection section = cursor_section_();
  if (section_ && section_->first == section.first && section_->last == section.last) {
    return;
  }
  section_ = section;
  scatter_stale_ = true;
  table_stale_ = true;
  Refresh();
}

void AnalysisWindow::FollowMainWindow(Qt::WindowStates main_window_states) {
  if (main_window_states & Qt::WindowMinimized) {
    showMinimized();
  } else if (!(main_window_states & Qt::WindowMaximized)) {
    showNormal();
  }
}

void AnalysisWindow::StoreGeometry() {
  if (isMinimized()) {
    return;
  }
  const QRect outer = OuterRectTwips();
  settings_.analysis.xpos = outer.x();
  settings_.analysis.ypos = outer.y();
  settings_.analysis.xsize = outer.width();
  settings_.analysis.ysize = outer.height();
}

void AnalysisWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
    StoreGeometry();
  }
  if (event->type() == QEvent::LanguageChange) {
    WriteTexts();
    // The messages and the table's texts are made again in the new language.
    scatter_stale_ = true;
    table_stale_ = true;
    Refresh();
  }
}

void AnalysisWindow::AddCaptioned(QGridLayout* grid, int row, int column, const char* source,
                                  QWidget* field, QWidget* parent) {
  grid->addWidget(Caption(source, field, parent), row, column);
  grid->addWidget(field, row, column + 1);
}

QLabel* AnalysisWindow::Caption(const char* source, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setBuddy(buddy);
  captions_.push_back({label, source});
  return label;
}

void AnalysisWindow::WriteTexts() {
  setWindowTitle(tr("Dravik - 散布図/集計表"));
  for (const auto& [label, source] : captions_) {
    label->setText(tr(source));
  }
  cmb_range_->setItemText(0, tr("ログ全体"));
  cmb_range_->setItemText(1, tr("カーソル間"));
  tabs_->setTabText(kScatterTab, tr("散布図"));
  tabs_->setTabText(1 - kScatterTab, tr("集計表"));
  for (QLineEdit* bins : {txt_bins_x_, txt_bins_y_}) {
    bins->setPlaceholderText(tr("自動"));
  }
  const QString statistics[] = {tr("平均"), tr("件数"), tr("最小"), tr("最大")};
  for (int i = 0; i < 4; ++i) {
    cmb_statistic_->setItemText(i, statistics[i]);
  }
  for (QComboBox* list : {cmb_x_item_, cmb_y_item_, cmb_colour_item_, cmb_filter_item_}) {
    const int none = list->findData(kNoItem);
    if (none >= 0) {
      list->setItemText(none, tr("なし"));
    }
  }
  cmd_copy_->setText(tr("コピー(&C)"));
  cmd_save_picture_->setText(tr("画像を保存..."));
  cmd_close_->setText(tr("閉じる(&X)"));
}

void AnalysisWindow::closeEvent(QCloseEvent* event) {
  StoreGeometry();
  StoreChoices();
  emit Closed();
  event->accept();
}

void AnalysisWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  TopLevelWindow::keyPressEvent(event);
}

}  // namespace dravik
