// TCommX: the serial port component. It owns one COM port, applies the line settings,
// hands outgoing bytes to a transmit thread, reads incoming bytes with a time-out while
// the application's messages keep flowing, drives RTS and DTR, and reports received
// data, breaks and line errors as events on the UI thread.
//
// Every public operation is called on the UI thread (the thread of the IUiThread given).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

#include "platform/UiThread.h"
#include "serial/PortApi.h"

namespace mxc9 {

class ECommError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum TCommParityBits : uint8_t { cpbNone, cpbOdd, cpbEven };
enum TCommStopBits : uint8_t { csb1, csb1p5, csb2 };
enum TCommFlowCtrls : uint8_t {
    cfcRtsCts,
    cfcDtrDsr,
    cfcXonXoff,
    cfcHalfHigh,
    cfcHalfLow,
    cfcNone
};

class TCustomCommX;
using TCommReceiveEvent = std::function<void(TCustomCommX* Sender, int32_t ReceiveSize)>;
using TCommBreakEvent = std::function<void(TCustomCommX* Sender)>;
using TCommErrEvent = std::function<void(TCustomCommX* Sender, int32_t ErrorState)>;

inline constexpr uint32_t INVALID_HANDLE_VALUE = 0xFFFFFFFFu;

// Messages of the notification window (the component's events).
inline constexpr uint32_t kMsgReceived = 1280;
inline constexpr uint32_t kMsgBreak = 1281;
inline constexpr uint32_t kMsgLineErrors = 1282;

// The texts of ECommError.
inline constexpr const char* kErrAlreadyOpen = "ポートは、すでにオープンされています";
inline constexpr const char* kErrOpen = "ポートをオープンできませんでした";
inline constexpr const char* kErrTransThread = "送信用スレッドを生成できませんでした";
inline constexpr const char* kErrReceiveThread = "受信用スレッドを生成できませんでした";
inline constexpr const char* kErrBitRate = "通信速度の設定でエラーが発生しました";
inline constexpr const char* kErrCharSize = "通信ビット数の設定でエラーが発生しました";
inline constexpr const char* kErrParity = "通信パリティチェックの設定でエラーが発生しました";
inline constexpr const char* kErrStopBit = "通信ストップビット数の設定でエラーが発生しました";
inline constexpr const char* kErrFlowCtrl = "通信フロー制御の設定で失敗しました";
inline constexpr const char* kErrTimeOut = "通信タイムアウト時間の設定で失敗しました";
inline constexpr const char* kErrXonChar = "Ｘｏｎ文字の設定でエラーが発生しました";
inline constexpr const char* kErrXoffChar = "Ｘｏｆｆ文字の設定でエラーが発生しました";
inline constexpr const char* kErrBuffers = "通信用ポートのバッファを準備できませんでした";
// Values refused where they are set (the old value stays).
inline constexpr const char* kErrBitRateValue = "通信速度の値が正しくありません";
inline constexpr const char* kErrBufLenTransValue = "送信バッファの長さが正しくありません";

// Time of one ten-bit character at bitRate, in whole milliseconds, plus 1.
inline int32_t CommHoldTime(int32_t bitRate) {
    return 1000 / (bitRate / 10) + 1;
}

class TCommThread;
class TCommTransThread;
class TCommReceiveThread;

class TCustomCommX {
  public:
    // The UI thread seam and the port-name resolver; an empty opener means the system's
    // port layer (OpenSystemPort), an empty resolver DefaultPortName.
    explicit TCustomCommX(IUiThread& ui, PortNameResolver resolver = {}, PortOpener opener = {});
    // With the application's UI thread (ApplicationUiThread()).
    TCustomCommX();
    virtual ~TCustomCommX();
    TCustomCommX(const TCustomCommX&) = delete;
    TCustomCommX& operator=(const TCustomCommX&) = delete;

    void Open();
    void Close();
    virtual bool Write(const void* buffer, int32_t size);
    bool SendString(const std::string& text);
    virtual int32_t Read(void* buffer, int32_t size);
    void PurgeTransmit();
    void PurgeReceive();
    int32_t ReceivedCount();
    void SetRts(bool raise);
    void SetDtr(bool raise);

    // The device file of COMn; replaces the resolver given at construction.
    void SetPortNameResolver(PortNameResolver resolver);

    int32_t PortNo() const { return portNo_; }
    void SetPortNo(int32_t value);
    int32_t BitRate() const { return bitRate_; }
    void SetBitRate(int32_t value);
    int32_t CharSize() const { return charSize_; }
    void SetCharSize(int32_t value);
    TCommParityBits ParityBit() const { return parityBit_; }
    void SetParityBit(TCommParityBits value);
    TCommStopBits StopBit() const { return stopBit_; }
    void SetStopBit(TCommStopBits value);
    TCommFlowCtrls FlowCtrl() const { return flowCtrl_.load(std::memory_order_relaxed); }
    void SetFlowCtrl(TCommFlowCtrls value);
    int32_t TimeOutTrans() const { return timeOutTrans_; }
    void SetTimeOutTrans(int32_t value);
    int32_t TimeOutReceive() const { return timeOutReceive_; }
    void SetTimeOutReceive(int32_t value);
    char XonChar() const { return xonChar_; }
    void SetXonChar(char value);
    char XoffChar() const { return xoffChar_; }
    void SetXoffChar(char value);
    int32_t BufLenTrans() const { return bufLenTrans_; }
    void SetBufLenTrans(int32_t value);
    int32_t BufLenReceive() const { return bufLenReceive_; }
    void SetBufLenReceive(int32_t value);
    // INVALID_HANDLE_VALUE while closed.
    uint32_t Handle() const;

    const TCommReceiveEvent& OnReceive() const { return onReceive_; }
    void SetOnReceive(TCommReceiveEvent handler) { onReceive_ = std::move(handler); }
    const TCommBreakEvent& OnBreak() const { return onBreak_; }
    void SetOnBreak(TCommBreakEvent handler) { onBreak_ = std::move(handler); }
    const TCommErrEvent& OnError() const { return onError_; }
    void SetOnError(TCommErrEvent handler) { onError_ = std::move(handler); }

    // Diagnostics: bytes and blocks handed to the transmit thread and not yet finished.
    int32_t PendingByteCount();
    int32_t QueuedBlockCount();
    // The working copy of the port's line settings.
    const PortState& DeviceControlBlock() const { return dcb_; }

  private:
    friend class TCommTransThread;
    friend class TCommReceiveThread;

    bool IsOpen() const { return port_ != nullptr; }
    void StartThreads();
    void StopThreads();
    void ApplyBufferSizes();
    void ApplyTimeOuts();
    void ApplyBitRate();
    void ApplyCharSize();
    void ApplyParityBit();
    void ApplyStopBit();
    void ApplyFlowCtrl();
    void ApplyXonChar();
    void ApplyXoffChar();
    void SetState(const char* failureText);
    // Line errors found on the UI thread (Read) and by a worker thread on its port.
    void ReportLineErrors();
    void NotifyLineErrors(ISerialPort& port, const TCommThread& from);
    // The notification window: runs on the UI thread.
    void WindowProc(uint32_t message, int32_t lParam);
    // From a worker thread: runs WindowProc on the UI thread and waits for it, unless
    // the thread is told to stop meanwhile (see TCommThread::Stopping).
    void Notify(uint32_t message, int32_t lParam, const TCommThread& from);
    // On the UI thread, while it waits for a worker: hands over the notifications the
    // workers wait on and releases a worker whose own notification's handler waits.
    void ReleaseWorkers();
    // Called by the transmit thread when it has finished a block of `size` bytes.
    void BlockFinished(uint32_t size);

    IUiThread& ui_;
    PortNameResolver resolver_;
    PortOpener opener_;

    TCommReceiveEvent onReceive_;
    TCommBreakEvent onBreak_;
    TCommErrEvent onError_;

    std::unique_ptr<TCommTransThread> transThread_;
    std::unique_ptr<TCommReceiveThread> receiveThread_;
    std::mutex transLock_;
    std::mutex counterLock_;

    std::unique_ptr<ISerialPort> port_;
    bool closing_ = false;  // Close is under way: notifications do nothing
    // Counts the openings. A notification carries the opening it was sent in and does
    // nothing in another one (a handler may close and open the port again while the old
    // threads' notifications are still on their way). Written only while no thread runs.
    uint32_t opening_ = 0;

    int32_t portNo_ = 1;
    int32_t bitRate_ = 9600;
    int32_t charSize_ = 8;
    TCommParityBits parityBit_ = cpbNone;
    TCommStopBits stopBit_ = csb1;
    std::atomic<TCommFlowCtrls> flowCtrl_{cfcRtsCts};  // also read by the transmit thread
    int32_t timeOutTrans_ = 3000;
    int32_t timeOutReceive_ = 3000;
    char xonChar_ = 17;
    char xoffChar_ = 19;
    int32_t bufLenTrans_ = 2048;
    int32_t bufLenReceive_ = 2048;

    PortState dcb_;
    int32_t pendingBytes_ = 0;
    int32_t queuedBlocks_ = 0;
};

class TCommX : public TCustomCommX {
  public:
    using TCustomCommX::TCustomCommX;
};

}  // namespace mxc9
