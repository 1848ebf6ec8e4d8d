#include "app/mainform.h"

#include "app/reporttexts.h"
#include "app/switch.h"
#include "intensitymap/imagelist.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QColor PaneColor(0xE8, 0xE8, 0xE8);
const QColor LedOff(0xC0, 0xC0, 0xC0);
const QColor DefaultTitleColor(0x87, 0xCE, 0xFA);

// One report of the list: its picture at 32 x 32, the text in bold and the detail below.
class TReportItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex&) const override
    {
        const int lines = 2 * Option.fontMetrics.height() + 8;
        return QSize(Option.rect.width(), std::max(40, lines));
    }

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override
    {
        QStyleOptionViewItem opt(Option);
        initStyleOption(&opt, Index);
        opt.text.clear();
        opt.icon = QIcon();
        const QWidget* widget = Option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, Painter, widget);

        const QRect r = Option.rect.adjusted(4, 0, -4, 0);
        const QIcon icon = Index.data(Qt::DecorationRole).value<QIcon>();
        const QRect iconRect(r.left(), r.top() + (r.height() - 32) / 2, 32, 32);
        icon.paint(Painter, iconRect);

        const bool selected = Option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = Option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        Painter->save();
        Painter->setPen(Option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        QFont bold = Option.font;
        bold.setBold(true);
        const QFontMetrics boldMetrics(bold);
        const int textLeft = iconRect.right() + 7;
        const int lineHeight = boldMetrics.height();
        const int top = r.top() + (r.height() - lineHeight - Option.fontMetrics.height()) / 2;
        const QRect textRect(textLeft, top, r.right() - textLeft, lineHeight);
        Painter->setFont(bold);
        Painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                          boldMetrics.elidedText(Index.data(Qt::DisplayRole).toString(), Qt::ElideRight, textRect.width()));
        const QRect detailRect(textLeft, textRect.bottom() + 1, textRect.width(), Option.fontMetrics.height());
        Painter->setFont(Option.font);
        Painter->drawText(detailRect, Qt::AlignLeft | Qt::AlignVCenter,
                          Option.fontMetrics.elidedText(Index.data(TMainForm::DetailRole).toString(), Qt::ElideRight,
                                                        detailRect.width()));
        Painter->restore();
    }
};

// A splitter handle without grip; with Bar, a centred 40 x 2 dark grey bar as its mark.
class TPlainHandle : public QSplitterHandle {
public:
    TPlainHandle(Qt::Orientation Orientation, QSplitter* Parent, bool Bar)
        : QSplitterHandle(Orientation, Parent)
        , FBar(Bar)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!FBar)
            return;
        QPainter p(this);
        const QRect bar((width() - 40) / 2, 1 + (height() - 1 - 2) / 2, 40, 2);
        p.fillRect(bar, QColor(0xA9, 0xA9, 0xA9));
    }

private:
    bool FBar;
};

class TPlainSplitter : public QSplitter {
public:
    TPlainSplitter(Qt::Orientation Orientation, bool Bar, QWidget* Parent)
        : QSplitter(Orientation, Parent)
        , FBar(Bar)
    {
    }

protected:
    QSplitterHandle* createHandle() override { return new TPlainHandle(orientation(), this, FBar); }

private:
    bool FBar;
};

QToolButton* MakeToolButton(QWidget* Parent, const QString& Picture)
{
    auto* button = new QToolButton(Parent);
    button->setFixedSize(24, 24);
    button->setAutoRaise(true);
    if (!Picture.isEmpty()) {
        button->setIcon(QIcon(QStringLiteral(":/toolbar/%1.png").arg(Picture)));
        button->setIconSize(QSize(18, 18));
    }
    return button;
}

QLabel* MakeFittedLabel(const QString& Text, QWidget* Parent)
{
    auto* label = new QLabel(Text, Parent);
    label->setWordWrap(false);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return label;
}

// A 24 x 24 button with margins 4 left and right, 2 top and bottom.
void AddButton(QHBoxLayout* Layout, QToolButton* Button)
{
    Layout->addSpacing(4);
    Layout->addWidget(Button, 0, Qt::AlignVCenter);
    Layout->addSpacing(4);
}

// A column of the main area between the splitters: its parts stacked without margins or
// spacing, never narrower than 20.
QVBoxLayout* MakeColumn(QWidget* Column)
{
    Column->setMinimumWidth(20);
    auto* layout = new QVBoxLayout(Column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

}  // namespace

TFillRect::TFillRect(QColor Fill, QWidget* Parent)
    : QWidget(Parent)
    , FFill(Fill)
{
}

void TFillRect::SetFill(QColor Fill)
{
    FFill = Fill;
    update();
}

void TFillRect::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), FFill);
}

TMainFormOptions TMainFormOptions::Program()
{
    TMainFormOptions options;
    options.Endpoint = QStringLiteral("https://www.jma.go.jp");
    return options;
}

void TMainForm::CreateControls()
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Tavrel test"));
    setMinimumSize(600, 450);
    resize(600, 500);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(CreateTitleBar());

    auto* layout2 = new TFillRect(PaneColor, this);
    auto* middle = new QHBoxLayout(layout2);
    middle->setContentsMargins(4, 0, 4, 4);
    auto* splitter1 = new TPlainSplitter(Qt::Horizontal, false, layout2);
    splitter1->setHandleWidth(8);
    splitter1->setChildrenCollapsible(false);
    splitter1->addWidget(CreateListColumn());
    splitter1->addWidget(CreateReportPane());
    splitter1->setStretchFactor(0, 0);
    splitter1->setStretchFactor(1, 1);
    splitter1->setSizes({292, 292});
    middle->addWidget(splitter1);
    root->addWidget(layout2, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setFixedHeight(22);
    StatusBar1->setSizeGripEnabled(true);
    Edit1 = new QLineEdit(StatusBar1);
    Edit1->setFrame(false);
    Edit1->setReadOnly(true);
    Edit1->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    Edit1->setMinimumWidth(100);
    StatusBar1->addWidget(Edit1, 1);
    StatusBar1->setContentsMargins(4, 0, 0, 0);
    root->addWidget(StatusBar1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(200);
    Timer2 = new QTimer(this);
    Timer2->setInterval(FOptions.DetailTimeoutMs);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TMainForm::Timer2Timer);
}

QWidget* TMainForm::CreateTitleBar()
{
    Rectangle1 = new TFillRect(DefaultTitleColor, this);
    Rectangle1->setFixedHeight(28);
    Rectangle1->installEventFilter(this);
    auto* bar = new QHBoxLayout(Rectangle1);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(0);

    SpeedButton5 = MakeToolButton(Rectangle1, QString());
    SpeedButton5->setToolTip(QStringLiteral("今すぐアクセス"));
    AddButton(bar, SpeedButton5);

    auto* layout5 = new QWidget(Rectangle1);
    layout5->setFixedWidth(220);
    auto* row = new QHBoxLayout(layout5);
    row->setContentsMargins(0, 4, 0, 4);
    row->setSpacing(0);
    Label1 = MakeFittedLabel(QStringLiteral("アクセス間隔"), layout5);
    row->addWidget(Label1);
    row->addSpacing(4);
    SpinBox1 = new QSpinBox(layout5);
    SpinBox1->setRange(30, 300);
    SpinBox1->setSingleStep(10);
    SpinBox1->setValue(180);
    SpinBox1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(SpinBox1, 1);
    row->addSpacing(4);
    Label2 = MakeFittedLabel(QStringLiteral("秒ごと"), layout5);
    row->addWidget(Label2);
    row->addSpacing(4);
    AccessLED = new TFillRect(LedOff, layout5);
    AccessLED->setFixedSize(6, 12);
    row->addWidget(AccessLED, 0, Qt::AlignVCenter);
    bar->addWidget(layout5);
    bar->addStretch(1);

    SpeedButton4 = MakeToolButton(Rectangle1, QStringLiteral("Minimize_18"));
    SpeedButton4->setToolTip(QStringLiteral("最小化"));
    AddButton(bar, SpeedButton4);
    SpeedButton3 = MakeToolButton(Rectangle1, QStringLiteral("Exit_18"));
    SpeedButton3->setToolTip(QStringLiteral("終了"));
    AddButton(bar, SpeedButton3);

    connect(SpeedButton5, &QToolButton::clicked, this, &TMainForm::Button3Click);
    connect(SpinBox1, &QSpinBox::valueChanged, this, &TMainForm::SpinBox1Change);
    connect(SpeedButton4, &QToolButton::clicked, this, &QWidget::showMinimized);
    connect(SpeedButton3, &QToolButton::clicked, this, &QWidget::close);
    return Rectangle1;
}

QWidget* TMainForm::CreateListColumn()
{
    auto* layout4 = new QWidget(this);
    auto* column = MakeColumn(layout4);

    auto* caption = new QWidget(layout4);
    caption->setFixedHeight(28);
    auto* row = new QHBoxLayout(caption);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    Label7 = new QLabel(QStringLiteral("0"), caption);
    Label7->setWordWrap(false);
    Label7->setMinimumWidth(0);
    Label7->setContentsMargins(4, 0, 8, 2);
    row->addWidget(Label7, 1);

    auto* layout6 = new QWidget(caption);
    layout6->setFixedWidth(110);
    auto* switchRow = new QHBoxLayout(layout6);
    switchRow->setContentsMargins(0, 4, 4, 4);
    switchRow->setSpacing(0);
    Label3 = MakeFittedLabel(QStringLiteral("自動詳細表示"), layout6);
    switchRow->addWidget(Label3);
    switchRow->addSpacing(2);
    Switch1 = new TSwitch(0.6, layout6);
    Switch1->setChecked(true);
    switchRow->addWidget(Switch1, 1);
    row->addWidget(layout6);

    SpeedButton2 = MakeToolButton(caption, QStringLiteral("Refresh_18"));
    SpeedButton2->setToolTip(QStringLiteral("今すぐアクセス"));
    AddButton(row, SpeedButton2);
    SpeedButton1 = MakeToolButton(caption, QStringLiteral("Search_18"));
    SpeedButton1->setCheckable(true);
    SpeedButton1->setToolTip(QStringLiteral("検索"));
    AddButton(row, SpeedButton1);
    column->addWidget(caption);

    SearchBox = new QLineEdit(layout4);
    SearchBox->setClearButtonEnabled(true);
    SearchBox->setPlaceholderText(QStringLiteral("検索"));
    SearchBox->hide();
    column->addWidget(SearchBox);

    ListView1 = new QListWidget(layout4);
    ListView1->setItemDelegate(new TReportItemDelegate(ListView1));
    ListView1->setIconSize(QSize(32, 32));
    ListView1->setUniformItemSizes(true);
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    column->addWidget(ListView1, 1);

    connect(SpeedButton2, &QToolButton::clicked, this, &TMainForm::Button3Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TMainForm::SpeedButton1Click);
    connect(SearchBox, &QLineEdit::textChanged, this, &TMainForm::SearchBoxChange);
    connect(ListView1, &QListWidget::itemClicked, this, [this](QListWidgetItem* Item) {
        ListView1ItemClick(Item);
        ListView1ItemClickEx(ListView1->row(Item));
    });
    return layout4;
}

QWidget* TMainForm::CreateReportPane()
{
    auto* layout3 = new QWidget(this);
    auto* pane = MakeColumn(layout3);

    // Feed texts are shown as they are, never taken for markup.
    TitleLabel = new QLabel(layout3);
    TitleLabel->setTextFormat(Qt::PlainText);
    TitleLabel->setFixedHeight(28);
    QFont bold = TitleLabel->font();
    bold.setBold(true);
    TitleLabel->setFont(bold);
    pane->addWidget(TitleLabel);

    StringGrid1 = new QTableWidget(4, 2, layout3);
    StringGrid1->setFixedHeight(80);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setMinimumSectionSize(18);
    StringGrid1->verticalHeader()->setDefaultSectionSize(18);
    StringGrid1->setShowGrid(false);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid1->setFocusPolicy(Qt::NoFocus);
    StringGrid1->setWordWrap(false);
    StringGrid1->setColumnWidth(0, 125);
    StringGrid1->setColumnWidth(1, 145);
    for (int row = 0; row < 4; ++row) {
        StringGrid1->setItem(row, 0, new QTableWidgetItem);
        StringGrid1->setItem(row, 1, new QTableWidgetItem);
    }
    StringGrid1->installEventFilter(this);
    pane->addWidget(StringGrid1);

    CommentBox = new QLabel(layout3);
    CommentBox->setTextFormat(Qt::PlainText);
    CommentBox->setWordWrap(true);
    CommentBox->setContentsMargins(0, 4, 0, 4);
    CommentBox->setStyleSheet(QStringLiteral("color: #0000FF;"));
    CommentBox->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pane->addWidget(CommentBox);

    TabControl1 = new QStackedWidget(layout3);
    TabItem2 = CreateIntensityPage();
    TabItem1 = new QWidget(TabControl1);
    auto* textPage = new QVBoxLayout(TabItem1);
    textPage->setContentsMargins(0, 0, 0, 0);
    Memo1 = new QPlainTextEdit(TabItem1);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    textPage->addWidget(Memo1);
    TabControl1->addWidget(TabItem2);
    TabControl1->addWidget(TabItem1);
    TabControl1->setCurrentWidget(TabItem2);
    pane->addWidget(TabControl1, 1);
    return layout3;
}

QWidget* TMainForm::CreateIntensityPage()
{
    auto* page = new TFillRect(PaneColor, TabControl1);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* splitter2 = new TPlainSplitter(Qt::Vertical, true, page);
    splitter2->setHandleWidth(8);
    splitter2->setChildrenCollapsible(false);

    PaintBox1 = new TPaintBox(splitter2);
    PaintBox1->setMinimumHeight(100);
    PaintBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    TreeView1 = new QTreeWidget(splitter2);
    TreeView1->setHeaderHidden(true);
    TreeView1->setMinimumHeight(100);
    TreeView1->setIconSize(QSize(16, 16));
    splitter2->addWidget(PaintBox1);
    splitter2->addWidget(TreeView1);
    splitter2->setStretchFactor(0, 0);
    splitter2->setStretchFactor(1, 1);
    splitter2->setSizes({130, 200});
    column->addWidget(splitter2);

    PopupMenu1 = new QMenu(this);
    MenuItem1 = PopupMenu1->addAction(QStringLiteral("最適な画像をコピー"));
    MenuItem3 = PopupMenu1->addAction(QStringLiteral("表示された画像をコピー"));
    MenuItem4 = PopupMenu1->addAction(QStringLiteral("画像全体をコピー"));
    MenuItem5 = PopupMenu1->addSeparator();
    MenuItem2 = PopupMenu1->addAction(QStringLiteral("画像を保存"));
    connect(PaintBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& Pos) { PopupMenu1->popup(PaintBox1->mapToGlobal(Pos)); });
    return page;
}

bool TMainForm::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == Rectangle1 && Event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(Event)->button() == Qt::LeftButton) {
        Rectangle1MouseDown();
        return true;
    }
    if (Watched == StringGrid1 && Event->type() == QEvent::Resize)
        StringGrid1Resized();
    return QWidget::eventFilter(Watched, Event);
}
