// The main window's commands over the store: band changes, New, Open and
// Save through the file-name seam, and language switches re-rendering cells.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "channels/cell_edit.h"
#include "channels/cell_editors_qt.h"
#include "channels/channel_grid_qt.h"
#include "codes/conversions.h"
#include "image/memory_image.h"
#include "support/form1_fixture.h"
#include "support/qt_test_main.h"
#include "support/test_images.h"

using namespace quelro;
using namespace quelro::test;

class Form1Commands : public QObject {
    Q_OBJECT

    std::unique_ptr<ConfigFolder> config_;
    std::unique_ptr<BoxScript> boxes_;
    std::unique_ptr<StartedForm> started_;
    QStringList chosen_; // names the file dialog returns, in turn
    int dialogs_ = 0;

    Form1& form() { return *started_->form; }
    ProgramState& state() { return started_->state; }
    QString cell(int row, int column) { return form().Grid1->CellText(row, column); }

    void AddChannel(int row, const char* frequency) {
        QCOMPARE(CommitFrequency(state(), row, 1, frequency), FrequencyOutcome::NewChannel);
        form().Grid1->ShowRow(row);
    }

    static QByteArray ReadFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static bool WriteFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    // A data file of the start-up image with three channels: 88.5 / D023N,
    // the odd decoded word ".5" / off, and D754I / the odd "62.5".
    QByteArray WriteTonesFile(const QString& name, std::string_view bandByte = "33") {
        std::string image = FreshImage();
        image = Patch(image, 0x00,
                      "5062254650622546"
                      "75031328"
                      "F0F0FCFF");
        image = Patch(image, 0x10,
                      "0000264600002646"
                      "0500FFFF"
                      "F8C0FCFF");
        image = Patch(image, 0x20,
                      "0000004400000044"
                      "ECA97102"
                      "F8D0FCFF");
        image = Patch(image, 0x16E, "05");
        image = Patch(image, 0x1AD, bandByte);
        const QByteArray bytes = "RMD47" + QByteArray::fromStdString(BytesFromHex(image));
        QFile file(config_->FilePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return bytes;
    }

  private slots:
    void init() {
        config_ = std::make_unique<ConfigFolder>();
        boxes_ = std::make_unique<BoxScript>();
        chosen_.clear();
        dialogs_ = 0;
        started_ = StartForm([this](Form1& f) {
            f.hooks().chooseFileName = [this](bool, const QString&) {
                ++dialogs_;
                return chosen_.isEmpty() ? QString() : chosen_.takeFirst();
            };
        });
    }
    void cleanup() {
        started_.reset();
        boxes_.reset();
        config_.reset();
    }

    void bandChangeAsksAndClearsOnOk() {
        AddChannel(1, "450");
        boxes_->Queue(BoxAnswer::kOk);
        form().SelectBand(5);
        QCOMPARE(boxes_->Asked().size(), std::size_t{1});
        QCOMPARE(boxes_->Asked()[0].prompt, QString("改变频段将清除频道列表，确定吗？"));
        QCOMPARE(boxes_->Asked()[0].title, QString("注意！"));
        QCOMPARE(boxes_->Asked()[0].style, 4385);
        QCOMPARE(state().BandIndex, 5);
        QCOMPARE(state().BandLow, 136);
        QCOMPARE(state().BandHigh, 174);
        QCOMPARE(cell(1, 1), QString());
        QCOMPARE(cell(1, 0), QString("01"));
    }

    void bandCancelKeepsChannelsButTakesTheLimits() {
        AddChannel(2, "480");
        boxes_->Queue(BoxAnswer::kCancel);
        form().SelectBand(1); // 450-490MHz
        QCOMPARE(form().Combo1->currentText(), QString("450-490MHz"));
        QCOMPARE(cell(2, 1), QString("480.00000"));
        QCOMPARE(state().BandIndex, 0);
        QCOMPARE(CommitFrequency(state(), 3, 1, "495"), FrequencyOutcome::OutsideBand);
        boxes_->Clear();
        form().SelectBand(0);
        QVERIFY(boxes_->Asked().empty());
        QCOMPARE(state().BandHigh, 500);
    }

    // Decoding after a cancelled band change: a file without a band code
    // keeps the band shown and asks nothing.
    void openingWithoutBandCodeAsksNothing() {
        boxes_->Queue(BoxAnswer::kCancel);
        form().SelectBand(1); // 450-490MHz, cancelled
        boxes_->Clear();
        WriteTonesFile("noband.DAT", "00");
        chosen_ << config_->FilePath("noband.DAT");
        form().OpenDataFile();
        QVERIFY(boxes_->Asked().empty());
        QCOMPARE(cell(1, 1), QString("462.56250"));
        QCOMPARE(form().Combo1->currentText(), QString("450-490MHz"));
        QCOMPARE(state().BandIndex, 0);
    }

    void newClearsChannelsOnOkOnly() {
        for (int row : {1, 5, 16}) AddChannel(row, "430");
        boxes_->Queue(BoxAnswer::kCancel);
        form().mnuNew->trigger();
        QCOMPARE(cell(5, 1), QString("430.00000"));
        form().mnuNew->trigger();
        QCOMPARE(boxes_->Asked().back().prompt, QString("所有信道的数据将被清除！"));
        QCOMPARE(boxes_->Asked().back().title, QString("警告"));
        for (int row = 1; row <= 16; ++row) {
            QCOMPARE(cell(row, 0), QString("%1").arg(row, 2, 10, QChar('0')));
            for (int c = 1; c < 9; ++c) QCOMPARE(cell(row, c), QString());
        }
        QCOMPARE(state().BandIndex, 0);
    }

    void saveThenOpenRoundTrip() {
        boxes_->Queue(BoxAnswer::kOk);
        form().SelectBand(6); // 600-720MHz
        AddChannel(3, "650.0125");
        PickTone(state(), 3, 2, 51);
        PickListItem(state(), 3, 5, 1);
        form().Combo4->setCurrentIndex(7);
        const QString path = config_->FilePath("ch1.DAT");
        chosen_ << path;
        form().SaveDataFile();
        QCOMPARE(form().windowTitle(), "Quelro-" + path);
        const QByteArray bytes = ReadFile(path);
        QCOMPARE(bytes.size(), 853);
        QCOMPARE(bytes.left(5), QByteArray("RMD47"));

        // Back to a plain start, then open what was saved.
        boxes_->Queue(BoxAnswer::kOk);
        form().SelectBand(0);
        form().Combo4->setCurrentIndex(1);
        std::vector<DecodeStep> steps;
        form().hooks().decoded = [&](const std::vector<DecodeStep>& s) { steps = s; };
        boxes_->Clear();
        chosen_ << path;
        form().OpenDataFile();
        QVERIFY(boxes_->Asked().empty());
        QCOMPARE(form().Combo1->currentText(), QString("600-720MHz"));
        QCOMPARE(state().BandIndex, 6);
        QCOMPARE(cell(3, 1), QString("650.01250"));
        QCOMPARE(cell(3, 2), QString("D023N"));
        QCOMPARE(cell(3, 5), QString("高"));
        QCOMPARE(form().Combo4->currentIndex(), 7);
        QVERIFY(std::any_of(steps.begin(), steps.end(),
                            [](const DecodeStep& s) { return s.kind == DecodeStep::Band; }));
        // The title names the file last opened or saved, in every language.
        const QString opened = config_->FilePath("ch2.DAT");
        QVERIFY(QFile::copy(path, opened));
        form().hooks().decoded = nullptr;
        chosen_ << opened;
        form().OpenDataFile();
        QCOMPARE(form().windowTitle(), "Quelro-" + opened);
        form().mnuEnglish_Click();
        QCOMPARE(form().windowTitle(), "Quelro-" + opened);
    }

    void openRefusesAFileWithoutTheTag() {
        AddChannel(1, "440");
        const QString path = config_->FilePath("other.DAT");
        QVERIFY(WriteFile(path, QByteArray(853, 'X')));
        chosen_ << path;
        form().OpenDataFile();
        QCOMPARE(boxes_->Asked().size(), std::size_t{1});
        QCOMPARE(boxes_->Asked()[0].prompt, QString("文件类型不对，无法打开。"));
        QCOMPARE(boxes_->Asked()[0].title, QString("Quelro"));
        QCOMPARE(cell(1, 1), QString("440.00000"));
    }

    // Every kind of bad file given to Open: what cannot be opened as a file
    // says why, a file of the wrong type says so, each with one box and the
    // table as it was; a file one byte short of or past its size, one with 10 MB
    // after its bytes and one with a Chinese name open. A pipe is not waited
    // on; nothing is created or changed.
    void openBadFilesTable() {
        const QByteArray dat = WriteTonesFile("good.DAT");
        const auto write = [&](const char* name, const QByteArray& bytes) {
            const QString path = config_->FilePath(name);
            if (!WriteFile(path, bytes)) qFatal("cannot write %s", name);
            return path;
        };
        const QString fifo = config_->FilePath("pipe.DAT");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QVERIFY(QDir().mkdir(config_->FilePath("folder.DAT")));
        QVERIFY(QFile::link("loop.DAT.2", config_->FilePath("loop.DAT")));
        QVERIFY(QFile::link("loop.DAT", config_->FilePath("loop.DAT.2")));
        const QString locked = write("locked.DAT", dat);
        QVERIFY(QFile::setPermissions(locked, {}));
        const bool rootReadsAll = ::geteuid() == 0;
        const QString wrongType = "Document type not to open.";
        const struct {
            QString path;
            QString said; // the box's text; empty: the file opens
        } cases[] = {
            {write("empty.DAT", {}), wrongType},
            {write("four.DAT", "RMD4"), wrongType},
            {write("tag.DAT", "RMD48" + dat.mid(5)), wrongType},
            {write("820.DAT", dat.left(820)), wrongType},
            {write("852.DAT", dat.left(852)), {}},
            {write("854.DAT", dat + '\x01'), {}},
            {write("10MB.DAT", dat + QByteArray(10 << 20, '{')), {}},
            {write("频道备份.DAT", dat), {}},
            {fifo, "It is not a regular file (but a pipe, a device or a socket)"},
            {config_->FilePath("folder.DAT"), "It is a folder, not a file"},
            {config_->FilePath("loop.DAT"), "Too many levels of symbolic links"},
            {config_->FilePath("missing.DAT"), "No such file or folder"},
            {locked, rootReadsAll ? QString() : "Permission denied"},
        };
        const QStringList before =
            QDir(config_->FilePath("")).entryList(QDir::AllEntries | QDir::System);
        form().mnuEnglish->trigger();
        ::alarm(20); // a program that waits on the pipe ends here
        for (const auto& c : cases) {
            boxes_->Clear();
            state().Channels = {};
            AddChannel(1, "440");
            chosen_ << c.path;
            form().OpenDataFile();
            if (c.said.isEmpty()) {
                QVERIFY2(boxes_->Asked().empty(), qPrintable(c.path));
                QCOMPARE(cell(1, 1), QString("462.56250"));
                continue;
            }
            QVERIFY2(boxes_->Asked().size() == 1, qPrintable(c.path));
            QCOMPARE(boxes_->Asked()[0].prompt,
                     c.said == wrongType
                         ? c.said
                         : "The file could not be opened: " + c.path + "\n" + c.said);
            QCOMPARE(cell(1, 1), QString("440.00000"));
        }
        ::alarm(0);
        QCOMPARE(QDir(config_->FilePath("")).entryList(QDir::AllEntries | QDir::System), before);
        QCOMPARE(QFileInfo(config_->FilePath("10MB.DAT")).size(), dat.size() + (10 << 20));
    }

    void overwriteQuestion() {
        const QString path = config_->FilePath("old.DAT");
        QVERIFY(WriteFile(path, "old"));
        const QString title = form().windowTitle();

        // No shows the dialog again; cancelling it then writes nothing.
        chosen_ << path;
        boxes_->Queue(BoxAnswer::kNo);
        form().SaveDataFile();
        QCOMPARE(dialogs_, 2);
        QCOMPARE(boxes_->Asked()[0].prompt, QString("该文件已存在，是否覆盖？"));
        QCOMPARE(boxes_->Asked()[0].style, 36);
        QCOMPARE(ReadFile(path), QByteArray("old"));
        QCOMPARE(form().windowTitle(), title);

        chosen_ << path;
        boxes_->Queue(BoxAnswer::kYes);
        form().SaveDataFile();
        QCOMPARE(ReadFile(path).size(), 853);
    }

    void failedSaveSaysSoAndKeepsTheCaption() {
        const QString title = form().windowTitle();
        const QString path = config_->FilePath("no-such-folder/ch.DAT");
        chosen_ << path;
        form().SaveDataFile();
        QCOMPARE(boxes_->Asked().size(), std::size_t{1});
        QCOMPARE(boxes_->Asked()[0].style, 16);
        QCOMPARE(boxes_->Asked()[0].prompt, "文件保存失败：" + path + "\n文件或文件夹不存在");
        QCOMPARE(form().windowTitle(), title);
    }

    // A save beyond the file size limit (as on a full disk) is refused with
    // its reason, and the old file stays whole; the program is not ended.
    void saveBeyondTheSizeLimitKeepsTheOldFile() {
        const QString path = config_->FilePath("old.DAT");
        QVERIFY(WriteFile(path, "old"));
        rlimit saved{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
        rlimit small = saved;
        small.rlim_cur = 512;
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
        chosen_ << path;
        boxes_->Queue(BoxAnswer::kYes);
        form().SaveDataFile();
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &saved) == 0);
        QCOMPARE(boxes_->Asked().size(), std::size_t{2});
        QCOMPARE(boxes_->Asked()[1].prompt,
                 "文件保存失败：" + path + "\n文件超过了允许的大小（文件大小限制）");
        QCOMPARE(ReadFile(path), QByteArray("old"));
        QCOMPARE(QDir(config_->FilePath("")).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // Saving through a symbolic link replaces the file it leads to, which
    // keeps its permissions.
    void saveThroughALinkReplacesItsTarget() {
        const QString target = config_->FilePath("real.DAT");
        const QString link = config_->FilePath("link.DAT");
        QVERIFY(WriteFile(target, "old"));
        const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(target, mode));
        QVERIFY(QFile::link("real.DAT", link));
        chosen_ << link;
        boxes_->Queue(BoxAnswer::kYes);
        form().SaveDataFile();
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(ReadFile(target).left(5), QByteArray("RMD47"));
        QCOMPARE(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser), mode);
    }

    void theDialogKeepsItsFileName() {
        QStringList proposed;
        form().hooks().chooseFileName = [&](bool, const QString& current) {
            proposed << current;
            return proposed.size() == 1 ? config_->FilePath("a.DAT") : QString();
        };
        form().SaveDataFile();
        form().OpenDataFile();
        QCOMPARE(proposed, (QStringList{"", config_->FilePath("a.DAT")}));
    }

    void languageSwitchRerendersCells() {
        AddChannel(1, "440");
        AddChannel(2, "441");
        PickTone(state(), 2, 2, 9);
        PickTone(state(), 2, 4, 51);
        form().Grid1->ShowAll();

        form().mnuEnglish->trigger();
        const QStringList english{"Off", "440.00000", "Off", "Low", "Carrow", "Wide", "Have"};
        for (int c = 2; c <= 8; ++c) QCOMPARE(cell(1, c), english[c - 2]);
        QCOMPARE(cell(2, 2), QString("88.5"));
        QCOMPARE(cell(2, 4), QString("D023N"));
        QCOMPARE(form().Grid1->HeaderText(0), QString("Channel"));
        QCOMPARE(form().Editors().Combo5(6)->itemText(1), QString("Carrow"));
        QCOMPARE(form().Editors().Combo8()->itemText(0), QString("Off"));
        QCOMPARE(form().Editors().Combo8()->itemText(1), QString("67.0"));
        QCOMPARE(boxes_->Asked().size(), std::size_t{0});

        form().mnuChineseF->trigger();
        QCOMPARE(form().LanguageMode(), 2);
        QCOMPARE(cell(1, 2), QString("關閉"));
        QCOMPARE(cell(1, 6), QString("載波"));
        QCOMPARE(cell(1, 7), QString("寬帶"));
        QCOMPARE(form().Grid1->HeaderText(7), QString("寬\\窄帶"));
        QCOMPARE(form().mnuOpen->text(), QString("打開(&O)"));

        form().mnuChineseJ->trigger();
        QCOMPARE(cell(1, 2), QString("关闭"));
        QCOMPARE(cell(1, 8), QString("有"));
        QCOMPARE(form().mnuOpen->text(), QString("打开(&O)"));
        QCOMPARE(form().Grid1->HeaderText(1), QString("接收频率"));
    }

    // Decoded tones, odd words included, are no off entries: switching
    // through every language and saving gives the bytes that were opened.
    void decodedTonesSurviveLanguageSwitches() {
        const QByteArray opened = WriteTonesFile("tones.DAT");
        chosen_ << config_->FilePath("tones.DAT");
        form().OpenDataFile();
        form().mnuEnglish->trigger();
        const QStringList tones{"88.5", "D023N", ".5", "Off", "D754I", "62.5"};
        for (int i = 0; i < tones.size(); ++i)
            QCOMPARE(cell(1 + i / 2, i % 2 == 0 ? 2 : 4), tones[i]);
        form().mnuChineseF->trigger();
        form().mnuChineseJ->trigger();
        QCOMPARE(cell(2, 4), QString("关闭"));
        chosen_ << config_->FilePath("saved.DAT");
        form().SaveDataFile();
        QCOMPARE(ReadFile(config_->FilePath("saved.DAT")).toHex(), opened.toHex());
    }

    void choosingTheActiveLanguageDoesNothing() {
        AddChannel(1, "440");
        // A cell rewritten behind the grid's back shows whether a redraw ran.
        form().Grid1->item(0, 5)->setText("x");
        form().mnuChineseJ->trigger();
        QCOMPARE(cell(1, 5), QString("x"));
        form().mnuEnglish->trigger();
        QCOMPARE(cell(1, 5), QString("Low"));
        form().Grid1->item(0, 5)->setText("x");
        form().mnuEnglish->trigger();
        QCOMPARE(cell(1, 5), QString("x"));
    }

    void newChannelInEnglishIsEnglish() {
        form().mnuEnglish->trigger();
        AddChannel(7, "445.5");
        QCOMPARE(cell(7, 2), QString("Off"));
        QCOMPARE(cell(7, 5), QString("Low"));
        QCOMPARE(cell(7, 8), QString("Have"));
    }
};

QUELRO_TEST_MAIN(Form1Commands)
#include "form1_commands_test.moc"
