#include "editor/core/SystemErrorText.h"

#include <cerrno>

std::string SystemErrorText(int error)
{
    switch (error) {
    case ENOENT: return "ファイルまたはフォルダがありません";
    case EACCES: return "アクセスが拒否されました";
    case EPERM: return "この操作は許可されていません";
    case EEXIST: return "同じ名前のファイルが既にあります";
    case EISDIR: return "フォルダです";
    case ENOTDIR: return "パスの途中がフォルダではありません";
    case ENAMETOOLONG: return "ファイル名が長すぎます";
    case ENOSPC: return "ディスクの空き容量が足りません";
    case EDQUOT: return "ディスクの割り当て容量を超えました";
    case EROFS: return "読み取り専用のファイルシステムです";
    case EIO: return "入出力エラーが発生しました";
    case ENOMEM: return "メモリが足りません";
    case EFBIG: return "ファイルが大きすぎます";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます";
    case EBUSY: return "ファイルが使用中です";
    case ETXTBSY: return "ファイルが実行中のため書き込めません";
    case EXDEV: return "別のファイルシステムへは移動できません";
    case ELOOP: return "シンボリックリンクが多すぎます";
    case EMLINK: return "リンクが多すぎます";
    case EINVAL: return "引数が正しくありません";
    case EAGAIN: return "一時的に利用できません";
    case EINTR: return "割り込みが発生しました";
    case ENXIO: return "デバイスがありません";
    case ENODEV: return "デバイスがこの操作に対応していません";
    case ESTALE: return "ネットワーク上のファイルが無効になりました";
    case EOVERFLOW: return "値が大きすぎます";
    default: return "システムエラー " + std::to_string(error);
    }
}
