// CloneDriver: the cloning run (CloneControl) on the serial link, for
// quelro-cli clone and the window's clone command alike.
//
// Between radios it sends the entry frames on a 500 ms timer and reports an
// 06 among the answer's bytes; for each radio it runs the ordinary write and
// read-back of a TransferDriver of its own, made for that transfer and
// dropped after it. A transfer's status text and progress go on to an
// optional display (which the caller locks for the whole run); its messages
// are reported, never asked: a radio of another band is written only when
// the options say so.
#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

#include "link/clone_control.h"
#include "link/serial_link_qt.h"
#include "link/transfer_driver_qt.h"

namespace quelro {

// The side that shows the run.
class CloneReport {
  public:
    virtual ~CloneReport() = default;
    // The language the run is shown in.
    virtual int Language() const = 0;
    // `startedUtc`: when the radio's write began; `elapsedMs` since then.
    virtual void RadioDone(const CloneRecord& record, const QDateTime& startedUtc,
                           qint64 elapsedMs) = 0;
    virtual void Instruct(CloneInstruction instruction) = 0;
    // What a transfer had to say (the watchdog's message, no port, a backup
    // not kept), in the run's language.
    virtual void TransferMessage(const std::string& text) = 0;
    virtual void Finished(const CloneSummary& summary) = 0;
};

class CloneDriver : public QObject, private CloneActions, private TransferView {
    Q_OBJECT

  public:
    // `writeState` holds the programming to write and the service mode and
    // band of the write. All must outlive the driver.
    CloneDriver(SerialLink& link, ProgramState& writeState, CloneOptions options,
                CloneReport& report, TransferView* display = nullptr, QObject* parent = nullptr);
    // A transfer still running is ended with End.
    ~CloneDriver() override;

    void Start() { control_.Start(); }
    // Between radios the run ends at once; during a transfer once that radio
    // is done.
    void Stop() { control_.Stop(); }
    // Ctrl+C: a transfer under way is ended with End, then the run stops.
    // True when a transfer was ended.
    bool Interrupt();

    const CloneControl& Control() const { return control_; }
    // The serial port went away during the run, which then stopped.
    bool LineLost() const { return lineLost_; }
    bool Running() const;

  private:
    enum class Kind { Write, Read };

    void Begin(Kind kind);
    void Finish(CloneTransferOutcome outcome);

    // CloneActions
    void SendEntry() override { link_.Send(kEntryFrame); }
    void SendEnd() override { link_.Send(std::string_view(&kEndByte, 1)); }
    void StartWrite(int number) override;
    void StartRead() override { Begin(Kind::Read); }
    void RadioDone(const CloneRecord& record) override;
    void Instruct(CloneInstruction instruction) override { report_.Instruct(instruction); }
    void Finished(const CloneSummary& summary) override;

    // TransferView
    int Language() const override { return report_.Language(); }
    void SetTransferLocked(bool) override {}
    void FocusBandSelector() override {}
    void SetStatusText(const std::string& text) override;
    void ToggleStatusVisible() override;
    void HideStatus() override;
    void ShowProgress(int maximum) override;
    void SetProgress(int value) override;
    void HideProgress() override;
    BoxAnswer ShowMessage(const Message& message) override;
    void ShowFailure(const TransferFailure& failure) override;
    void ReadCompleted(const std::string& image, int band) override;
    void WriteCompleted() override { Finish(CloneTransferOutcome::Done); }
    void ShowBackupWarning(const std::string& text) override;

    SerialLink& link_;
    ProgramState& writeState_;
    ProgramState readState_;
    CloneReport& report_;
    TransferView* display_;
    CloneControl control_;
    QTimer tick_;
    std::unique_ptr<TransferDriver> transfer_;
    Kind kind_ = Kind::Write;
    std::optional<CloneTransferOutcome> outcome_;
    std::string readImage_;
    int radioBand_ = -1;
    int number_ = 0; // the radio being written, from 1
    bool lineLost_ = false;
    QDateTime started_;
    QElapsedTimer clock_;
};

} // namespace quelro
