<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>AppListModel</name>
    <message>
        <source>Inside “%1”</source>
        <translation>「%1」の内部</translation>
    </message>
    <message>
        <source>Not sure: the search for installed copies ran out of time</source>
        <translation>不明：インストール済みのコピーの検索が時間切れになりました</translation>
    </message>
    <message>
        <source>Application bundle: %1</source>
        <translation>アプリケーションバンドル：%1</translation>
    </message>
    <message>
        <source>Scanning...</source>
        <translation>スキャン中...</translation>
    </message>
    <message>
        <source>Not sure</source>
        <translation>不明</translation>
    </message>
    <message>
        <source>Not opened for more than 90 days</source>
        <translation>90日以上開かれていません</translation>
    </message>
    <message>
        <source>Dates in orange: not opened for more than 90 days</source>
        <translation>オレンジ色の日付：90日以上開かれていません</translation>
    </message>
</context>
<context>
    <name>ByteCount</name>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>%1 TB</source>
        <translation>%1 TB</translation>
    </message>
    <message>
        <source>%1 PB</source>
        <translation>%1 PB</translation>
    </message>
    <message>
        <source>%1 EB</source>
        <translation>%1 EB</translation>
    </message>
    <message>
        <source>Zero KB</source>
        <translation>0 KB</translation>
    </message>
    <message numerus="yes">
        <source>%n byte(s)</source>
        <translation>
            <numerusform>%n バイト</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Category</name>
    <message>
        <source>Program files</source>
        <translation>プログラムファイル</translation>
    </message>
    <message>
        <source>Supporting documents</source>
        <translation>サポート書類</translation>
    </message>
    <message>
        <source>Cache files</source>
        <translation>キャッシュファイル</translation>
    </message>
    <message>
        <source>Preferences files</source>
        <translation>環境設定ファイル</translation>
    </message>
    <message>
        <source>Status files</source>
        <translation>状態ファイル</translation>
    </message>
    <message>
        <source>Crash Reporter</source>
        <translation>クラッシュレポート</translation>
    </message>
    <message>
        <source>Log files</source>
        <translation>ログファイル</translation>
    </message>
    <message>
        <source>Sandbox files</source>
        <translation>サンドボックスファイル</translation>
    </message>
    <message>
        <source>Daemon</source>
        <translation>デーモン</translation>
    </message>
    <message>
        <source>Login item</source>
        <translation>ログイン項目</translation>
    </message>
    <message>
        <source>Other files</source>
        <translation>その他のファイル</translation>
    </message>
    <message>
        <source>Cookies</source>
        <translation>Cookie</translation>
    </message>
</context>
<context>
    <name>ExclusionsWindowController</name>
    <message>
        <source>Exclusions</source>
        <translation>除外項目</translation>
    </message>
    <message>
        <source>Ostrova never offers these items and never removes or resets these applications.</source>
        <translation>Ostrova はこれらの項目を表示せず、これらのアプリケーションを削除もリセットもしません。</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>項目</translation>
    </message>
    <message>
        <source>Applies to</source>
        <translation>対象</translation>
    </message>
    <message>
        <source>Excluded items and protected applications</source>
        <translation>除外された項目と保護されたアプリケーション</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>Every application</source>
        <translation>すべてのアプリケーション</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Protected, always</source>
        <translation>常に保護</translation>
    </message>
    <message>
        <source>Protected application</source>
        <translation>保護されたアプリケーション</translation>
    </message>
    <message numerus="yes">
        <source>%n entries of the stored exclusions could not be read and were left out.</source>
        <translation>
            <numerusform>保存された除外項目のうち %n 件を読み取れなかったため、省きました。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FolderAccess</name>
    <message>
        <source>Allow access to this path</source>
        <translation>このパスへのアクセスを許可</translation>
    </message>
</context>
<context>
    <name>MainViewController</name>
    <message>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>サイズ</translation>
    </message>
    <message>
        <source>Recently used</source>
        <translation>最終使用日</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>All applications</source>
        <translation>すべてのアプリケーション</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>アプリケーション</translation>
    </message>
    <message>
        <source>Remains</source>
        <translation>残存ファイル</translation>
    </message>
    <message>
        <source>Remains of removed applications</source>
        <translation>削除したアプリケーションの残存ファイル</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Uninstall</source>
        <translation>アンインストール</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Search applications</source>
        <translation>アプリケーションを検索</translation>
    </message>
    <message>
        <source>Applications and their files</source>
        <translation>アプリケーションとその関連ファイル</translation>
    </message>
    <message>
        <source>Show installed applications</source>
        <translation>インストール済みのアプリケーションを表示</translation>
    </message>
    <message>
        <source>Show remains of removed applications</source>
        <translation>削除したアプリケーションの残存ファイルを表示</translation>
    </message>
    <message>
        <source>Uninstall the ticked applications</source>
        <translation>チェックしたアプリケーションをアンインストール</translation>
    </message>
    <message>
        <source>Offer to remove what applications dragged to the Trash leave</source>
        <translation>ゴミ箱にドラッグしたアプリケーションの残存ファイルの削除を提案</translation>
    </message>
    <message>
        <source>Force quit may result in loss of data being edited</source>
        <translation>強制終了すると編集中のデータが失われる可能性があります</translation>
    </message>
    <message>
        <source>%1 is running, do you want to force quit?</source>
        <translation>%1 は実行中です。強制終了しますか?</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Force quit</source>
        <translation>強制終了</translation>
    </message>
    <message>
        <source>Remains (%1)</source>
        <translation>残存ファイル（%1）</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Please select the file to delete</source>
        <translation>削除するファイルを選択してください</translation>
    </message>
    <message>
        <source>The application is not installed in the /Applications directory. To ensure full functionality, please move the application to that directory.</source>
        <translation>このアプリケーションは「アプリケーション」フォルダにインストールされていません。すべての機能を使用するには、このフォルダに移動してください。</translation>
    </message>
    <message numerus="yes">
        <source>%n application(s) selected</source>
        <translation>
            <numerusform>%n 個のアプリケーションを選択中</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked under Remains, not included</source>
        <translation>
            <numerusform>「残存ファイル」でチェックした %n 項目は含まれません</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked under Applications, not included</source>
        <translation>
            <numerusform>「アプリケーション」でチェックした %n 項目は含まれません</numerusform>
        </translation>
    </message>
    <message>
        <source>Unprotect</source>
        <translation>保護を解除</translation>
    </message>
    <message>
        <source>Protect</source>
        <translation>保護</translation>
    </message>
    <message>
        <source>Never offer this…</source>
        <translation>今後表示しない…</translation>
    </message>
    <message>
        <source>Never offer “%1”?</source>
        <translation>“%1”を今後表示しませんか?</translation>
    </message>
    <message>
        <source>The folder and everything inside it are kept. Keep it for this application only, or for every application?</source>
        <translation>フォルダとその中のすべてが保持されます。このアプリケーションだけで保持しますか、すべてのアプリケーションで保持しますか?</translation>
    </message>
    <message>
        <source>The file is kept. Keep it for this application only, or for every application?</source>
        <translation>ファイルは保持されます。このアプリケーションだけで保持しますか、すべてのアプリケーションで保持しますか?</translation>
    </message>
    <message>
        <source>Only for “%1”</source>
        <translation>“%1”のみ</translation>
    </message>
    <message>
        <source>For Every Application</source>
        <translation>すべてのアプリケーション</translation>
    </message>
    <message>
        <source>Exclusions…</source>
        <translation>除外項目…</translation>
    </message>
    <message>
        <source>What is never offered, and the protected applications</source>
        <translation>表示しない項目と保護されたアプリケーション</translation>
    </message>
    <message>
        <source>Show the exclusions and protected applications</source>
        <translation>除外項目と保護されたアプリケーションを表示</translation>
    </message>
    <message>
        <source>Reset…</source>
        <translation>リセット…</translation>
    </message>
</context>
<context>
    <name>NotificationView</name>
    <message>
        <source>App cleanup reminder</source>
        <translation>アプリ整理のリマインダー</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>スキャン</translation>
    </message>
    <message>
        <source>Scan your applications</source>
        <translation>アプリケーションをスキャン</translation>
    </message>
    <message numerus="yes">
        <source>%n application(s) not opened for more than 90 days. Scan and uninstall to free up space.</source>
        <translation>
            <numerusform>90日以上開かれていないアプリケーションが %n 個あります。スキャンしてアンインストールすると空き領域を増やせます。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PutBackReportText</name>
    <message>
        <source>Nothing was put back.</source>
        <translation>何も戻されませんでした。</translation>
    </message>
    <message>
        <source>The items were put back, but some launch jobs could not be loaded again.</source>
        <translation>項目は戻されましたが、一部の起動ジョブを再読み込みできませんでした。</translation>
    </message>
    <message>
        <source>Some items could not be put back.</source>
        <translation>一部の項目を戻せませんでした。</translation>
    </message>
    <message numerus="yes">
        <source>Put back %n item(s) (%1).</source>
        <translation>
            <numerusform>%n 項目（%1）を戻しました。</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>its place is taken</source>
        <translation>元の場所に別の項目があります</translation>
    </message>
    <message>
        <source>emptied from the Trash</source>
        <translation>ゴミ箱から消去済み</translation>
    </message>
    <message>
        <source>it could not be moved back</source>
        <translation>元に戻せませんでした</translation>
    </message>
    <message>
        <source>deleted, not in the Trash</source>
        <translation>削除済み（ゴミ箱にありません）</translation>
    </message>
    <message>
        <source>already put back</source>
        <translation>すでに戻されています</translation>
    </message>
    <message>
        <source>put back, but its launch job could not be loaded again</source>
        <translation>戻しましたが、起動ジョブを再読み込みできませんでした</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what goes back outside your home folder stayed in the Trash.</source>
        <translation>管理者パスワードが入力されなかったため、ホームフォルダ外に戻す項目はゴミ箱に残っています。</translation>
    </message>
</context>
<context>
    <name>RemainsPanelView</name>
    <message>
        <source>%1 left %2 behind</source>
        <translation>%1 が %2 のファイルを残しています</translation>
    </message>
    <message>
        <source>%1 was moved to the Trash, but its settings, caches and other files are still on this Mac. Remove them too?</source>
        <translation>%1 はゴミ箱に移動されましたが、設定、キャッシュ、その他のファイルがまだこの Mac に残っています。これらも削除しますか?</translation>
    </message>
    <message>
        <source>%1 were moved to the Trash, but their settings, caches and other files are still on this Mac. Remove them too?</source>
        <translation>%1 はゴミ箱に移動されましたが、それぞれの設定、キャッシュ、その他のファイルがまだこの Mac に残っています。これらも削除しますか?</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 と %2</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>後で</translation>
    </message>
    <message>
        <source>&amp;Review</source>
        <translation>確認(&amp;R)</translation>
    </message>
    <message>
        <source>Remove remains</source>
        <translation>残存ファイルを削除</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>Removing the remains...</source>
        <translation>残存ファイルを削除中...</translation>
    </message>
    <message>
        <source>Removed what %1 left</source>
        <translation>%1 の残存ファイルを削除しました</translation>
    </message>
    <message>
        <source>Nothing removed of what %1 left</source>
        <translation>%1 の残存ファイルは削除されませんでした</translation>
    </message>
    <message>
        <source>Could not remove what %1 left</source>
        <translation>%1 の残存ファイルを削除できませんでした</translation>
    </message>
    <message>
        <source>Removed part of what %1 left</source>
        <translation>%1 の残存ファイルの一部を削除しました</translation>
    </message>
    <message numerus="yes">
        <source>Moved %n item(s) (%1) to the Trash; emptying the Trash frees the space.</source>
        <translation>
            <numerusform>%n 項目（%1）をゴミ箱に移動しました。ゴミ箱を空にすると領域が解放されます。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Removed %n item(s) (%1).</source>
        <translation>
            <numerusform>%n 項目（%1）を削除しました。</numerusform>
        </translation>
    </message>
    <message>
        <source>The record of this removal could not be written, so it cannot be put back.</source>
        <translation>この削除の記録を書き込めなかったため、元に戻すことはできません。</translation>
    </message>
    <message>
        <source>Left, as an application with the same identifier is installed again: %1.</source>
        <translation>同じ識別子のアプリケーションが再インストールされているため残しました：%1。</translation>
    </message>
    <message>
        <source>Left, as another file now lies in their place: %1.</source>
        <translation>同じ場所に別のファイルがあるため残しました：%1。</translation>
    </message>
    <message>
        <source>Left, as they could not be removed: %1.</source>
        <translation>削除できなかったため残しました：%1。</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what lies outside your home folder was left.</source>
        <translation>管理者パスワードが入力されなかったため、ホームフォルダ外の項目は残しました。</translation>
    </message>
    <message numerus="yes">
        <source>%n applications left %1 behind</source>
        <translation>
            <numerusform>%n 個のアプリケーションが %1 のファイルを残しています</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 ほか %n 個</numerusform>
        </translation>
    </message>
    <message>
        <source>Put Back</source>
        <translation>戻す</translation>
    </message>
    <message numerus="yes">
        <source>%n more</source>
        <translation>
            <numerusform>ほか %n 項目</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n application(s)</source>
        <translation>
            <numerusform>%n 個のアプリケーション</numerusform>
        </translation>
    </message>
    <message>
        <source>Putting back…</source>
        <translation>戻しています…</translation>
    </message>
    <message>
        <source>Put back what %1 left</source>
        <translation>%1 の残存ファイルを戻しました</translation>
    </message>
    <message>
        <source>Nothing put back of what %1 left</source>
        <translation>%1 の残存ファイルは戻されませんでした</translation>
    </message>
    <message>
        <source>Put back part of what %1 left</source>
        <translation>%1 の残存ファイルの一部を戻しました</translation>
    </message>
    <message numerus="yes">
        <source>Put back %n item(s) (%1).</source>
        <translation>
            <numerusform>%n 項目（%1）を戻しました。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) stayed away: their place is taken, they were emptied from the Trash or could not be moved.</source>
        <translation>
            <numerusform>%n 項目は戻せませんでした：元の場所に別の項目があるか、ゴミ箱から消去されたか、移動できませんでした。</numerusform>
        </translation>
    </message>
    <message>
        <source>Some launch jobs could not be loaded again.</source>
        <translation>一部の起動ジョブを再読み込みできませんでした。</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what goes back outside your home folder stayed in the Trash.</source>
        <translation>管理者パスワードが入力されなかったため、ホームフォルダ外に戻す項目はゴミ箱に残っています。</translation>
    </message>
</context>
<context>
    <name>RequestUninstallWinodowController</name>
    <message>
        <source>Ticked items: %1</source>
        <translation>チェックした項目：%1</translation>
    </message>
    <message>
        <source>These need an administrator&apos;s password:</source>
        <translation>次の項目には管理者パスワードが必要です：</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>ほか %n 項目</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scroll to see all %n.</source>
        <translation>
            <numerusform>%n 項目すべてを見るにはスクロールしてください。</numerusform>
        </translation>
    </message>
    <message>
        <source>Delete immediately instead of moving to the Trash</source>
        <translation>ゴミ箱に入れずにすぐに削除</translation>
    </message>
    <message>
        <source>Delete what cannot be moved to the Trash</source>
        <translation>ゴミ箱に入れられない項目は削除</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Continue uninstall</source>
        <translation>アンインストールを続ける</translation>
    </message>
    <message>
        <source>Remove the remains of “%1”?</source>
        <translation>「%1」の残存ファイルを削除しますか?</translation>
    </message>
    <message>
        <source>Uninstall “%1”?</source>
        <translation>「%1」をアンインストールしますか?</translation>
    </message>
    <message numerus="yes">
        <source>Remove the remains of %n application(s)?</source>
        <translation>
            <numerusform>%n 個のアプリケーションの残存ファイルを削除しますか?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uninstall %n application(s)?</source>
        <translation>
            <numerusform>%n 個のアプリケーションをアンインストールしますか?</numerusform>
        </translation>
    </message>
    <message>
        <source>Reset “%1”?</source>
        <translation>「%1」をリセットしますか?</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>リセット</translation>
    </message>
    <message>
        <source>%1 stays installed. Its settings, caches and other data (%2) are deleted.</source>
        <translation>%1 はインストールされたままです。設定、キャッシュ、その他のデータ（%2）は削除されます。</translation>
    </message>
    <message>
        <source>%1 stays installed. Its settings, caches and other data (%2) go to the Trash; you can put them back.</source>
        <translation>%1 はインストールされたままです。設定、キャッシュ、その他のデータ（%2）はゴミ箱に移動し、あとで戻せます。</translation>
    </message>
</context>
<context>
    <name>RkContainerView</name>
    <message>
        <source>Grant access</source>
        <translation>アクセスを許可</translation>
    </message>
</context>
<context>
    <name>RkLoadAppView</name>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Please wait, searching...</source>
        <translation>検索中です。お待ちください...</translation>
    </message>
</context>
<context>
    <name>SandboxAuthorizeWindowController</name>
    <message>
        <source>Grant %1 access to the following directories</source>
        <translation>%1 に次のフォルダへのアクセスを許可してください</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Library</source>
        <translation>ライブラリ</translation>
    </message>
    <message>
        <source>Search for background apps, logs, etc. installed in non-standard directories</source>
        <translation>標準以外のフォルダにインストールされたバックグラウンドアプリやログなどを検索</translation>
    </message>
    <message>
        <source>App Containers</source>
        <translation>アプリコンテナ</translation>
    </message>
    <message>
        <source>Search for data stored in the container directory corresponding to the installed App</source>
        <translation>インストール済みのアプリに対応するコンテナフォルダ内のデータを検索</translation>
    </message>
    <message>
        <source>macOS</source>
        <translation>macOS</translation>
    </message>
    <message>
        <source>Find all existing apps and corresponding data, dependency files, log files, etc.</source>
        <translation>すべてのアプリとその関連データ、依存ファイル、ログファイルなどを検索</translation>
    </message>
</context>
<context>
    <name>UninstallCompletedViewController</name>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>Put Back</source>
        <translation>戻す</translation>
    </message>
    <message>
        <source>Put Back: return everything to where it was</source>
        <translation>戻す：すべてを元の場所に戻します</translation>
    </message>
    <message>
        <source>Finish and return to the list</source>
        <translation>完了してリストに戻る</translation>
    </message>
    <message numerus="yes">
        <source>The remains of the following application(s) have been removed.</source>
        <translation>
            <numerusform>次のアプリケーションの残存ファイルを削除しました。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The following application(s) have been uninstalled.</source>
        <translation>
            <numerusform>次のアプリケーションをアンインストールしました。</numerusform>
        </translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what lies outside your home folder was left.</source>
        <translation>管理者パスワードが入力されなかったため、ホームフォルダ外の項目は残しました。</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) left, as an application with the same identifier is installed again.</source>
        <translation>
            <numerusform>同じ識別子のアプリケーションが再インストールされているため、%n 項目を残しました。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) left, as another file now lies in their place.</source>
        <translation>
            <numerusform>同じ場所に別のファイルがあるため、%n 項目を残しました。</numerusform>
        </translation>
    </message>
    <message>
        <source>Moved %1 to the Trash. Empty the Trash to free the space.</source>
        <translation>%1 をゴミ箱に移動しました。ゴミ箱を空にすると領域が解放されます。</translation>
    </message>
    <message>
        <source>The record of this removal could not be written: Put Back works only until Ostrova quits.</source>
        <translation>この削除の記録を書き込めませんでした。「戻す」は Ostrova を終了するまでのみ使用できます。</translation>
    </message>
    <message numerus="yes">
        <source>The following application(s) have been reset. They stay installed.</source>
        <translation>
            <numerusform>次のアプリケーションをリセットしました。インストールされたままです。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UninstallResidualViewController</name>
    <message>
        <source>Some apps were not completely uninstalled, residual files left</source>
        <translation>一部のアプリが完全にアンインストールされず、ファイルが残っています</translation>
    </message>
    <message>
        <source>Please manually delete the residual files.</source>
        <translation>残ったファイルを手動で削除してください。</translation>
    </message>
    <message>
        <source>The following App has uninstallation&apos;s leftover files.</source>
        <translation>次のアプリにはアンインストール後の残存ファイルがあります。</translation>
    </message>
    <message>
        <source>Some data of the reset applications was left</source>
        <translation>リセットしたアプリケーションのデータの一部が残っています</translation>
    </message>
</context>
<context>
    <name>UninstallingViewController</name>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>キャンセル中...</translation>
    </message>
    <message numerus="yes">
        <source>Removing the remains of %n application(s)…</source>
        <translation>
            <numerusform>%n 個のアプリケーションの残存ファイルを削除中…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uninstalling %n application(s)…</source>
        <translation>
            <numerusform>%n 個のアプリケーションをアンインストール中…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Resetting %n application(s)…</source>
        <translation>
            <numerusform>%n 個のアプリケーションをリセット中…</numerusform>
        </translation>
    </message>
</context>
</TS>
