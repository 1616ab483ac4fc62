#pragma once
// Keeps the document's unexported work in the recovery journal (WorkJournal), so that a crash, a
// kill, a logout or a power cut loses at most the last moment of it. A change starts a short
// timer rather than a write, so a pick costs next to nothing and a burst of changes is one write;
// the timer is not restarted by later changes, so a steady stream of them is still written at
// least that often. The copy of the work is taken on the user-interface thread when the timer
// fires, and turned into text and written on the journal's own thread.
//
// A journal that cannot be written is never a silent loss: the user is told once for each cause
// (the folder, and why) that the work is unprotected until it is exported, the write is tried
// again every few seconds, and the status bar says so when the work is protected again.

#include "doc/OpenedPicture.h"
#include "doc/RecoveredWork.h"
#include "platform/core/StorageFailure.h"
#include "platform/core/WorkJournal.h"

#include <QTimer>

#include <memory>
#include <set>

class CTallyscopeDoc;
class QLockFile;

class DocumentJournal {
public:
    // The longest a change waits before it is journalled.
    static constexpr int kDelayMs = 500;
    // How long a failed write waits before it is tried again, when nothing else changes.
    static constexpr int kRetryMs = 2000;

    explicit DocumentJournal(CTallyscopeDoc& doc);
    ~DocumentJournal();
    DocumentJournal(const DocumentJournal&) = delete;
    DocumentJournal& operator=(const DocumentJournal&) = delete;

    // The work changed: it is journalled within kDelayMs.
    void Changed();
    // Journals the work as it is now and waits until it is written; TRUE when it is on disk.
    bool WriteNow();
    // Nothing is left to lose: no write is pending and the journal file is gone.
    void Clear();
    // A picture was opened: the file as it was then, which every later write stamps.
    void PictureOpened(std::shared_ptr<const OpenedPicture> picture);
    // At start: tells the user now when the recovery folder cannot keep the work.
    void CheckFolder();
    // The work came from another program's journal: that journal goes once this one holds the
    // work on disk (or nothing is left to lose), and stays claimed until then.
    void TakeOver(const QString& orphanPath, std::unique_ptr<QLockFile> claim);
    // Whether the last write (or the start-up check) failed.
    bool IsUnprotected() const { return m_unprotected; }
    WorkJournal& Journal() { return *m_journal; }

private:
    void Write();
    // The writer's outcome for the write of that number, on the user-interface thread.
    void Reported(const StorageFailure& failure, long long number);
    void TellFailure(const StorageFailure& failure);
    void ShowStatus(const char* text);
    void LetGoOfOrphan();

    CTallyscopeDoc& m_doc;
    QTimer m_timer;
    QTimer m_retryTimer;
    bool m_unprotected = false;
    std::set<StorageFailure::Cause> m_told;
    long long m_lastWrite = 0;
    QString m_orphan;
    long long m_orphanWrite = 0; // the first write that holds the orphan's work
    std::unique_ptr<QLockFile> m_orphanClaim;
    // The open picture's file as it was opened; the writer thread stamps it (reading its bytes at
    // the first write).
    std::shared_ptr<const OpenedPicture> m_openedPicture;
    // Last, so that the writer is stopped (and its last report posted) before the timers go.
    std::unique_ptr<WorkJournal> m_journal;
};

// "%s": the folder; "%s": the reason, one of those below.
inline constexpr const char* kMsgJournalUnusable =
    "作業中のデータを控えておくフォルダーに書き込むことができません。\n"
    "フォルダー: %s\n"
    "理由: %s\n"
    "データを書き出すまで、作業中のデータは異常終了に備えて保護されません。\n"
    "書き込みはこのまま試み続けます。";
inline constexpr const char* kReasonFolderMissing = "フォルダーがなく、作成することもできません";
inline constexpr const char* kReasonNotAFolder = "同じ名前のファイルがあるため、フォルダーとして使えません";
inline constexpr const char* kReasonReadOnly = "書き込みが禁止されています";
inline constexpr const char* kReasonFull = "ディスクに空きがありません";
// "%d": the system's error number.
inline constexpr const char* kReasonOther = "書き込みに失敗しました (エラー番号 %d)";
inline constexpr const char* kMsgJournalUnprotected = "作業中のデータは保護されていません。書き出してください";
inline constexpr const char* kMsgJournalProtectedAgain = "作業中のデータの保護を再開しました";
