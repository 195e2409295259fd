<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>vesk::CLinkPage</name>
    <message>
        <source>接続</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>待受</source>
        <translation>Listen</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>切断</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>送信</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>編集を端末へ自動送信</source>
        <translation>Send edits to the terminal automatically</translation>
    </message>
    <message>
        <source>待受ポート</source>
        <translation>Listening port</translation>
    </message>
    <message>
        <source>IPアドレス</source>
        <translation>IP address</translation>
    </message>
</context>
<context>
    <name>vesk::CLintSizesDlg</name>
    <message>
        <source>検査する端末サイズ</source>
        <translation>Device sizes checked</translation>
    </message>
    <message>
        <source>端末サイズ</source>
        <translation>Device sizes</translation>
    </message>
    <message>
        <source>プロジェクトの端末サイズ (DeviceWidth×DeviceHeight) のほかに検査するサイズ:</source>
        <translation>Sizes checked besides the project&apos;s own (DeviceWidth×DeviceHeight):</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>vesk::CLogDlg</name>
    <message>
        <source>通信ログ</source>
        <translation>Link log</translation>
    </message>
    <message>
        <source>問題</source>
        <translation>Problems</translation>
    </message>
</context>
<context>
    <name>vesk::CMainFrame</name>
    <message>
        <source>リソースファイル (*.veskspro)</source>
        <translation>Resource files (*.veskspro)</translation>
    </message>
    <message>
        <source>リソースファイル (*.json)</source>
        <translation>Resource files (*.json)</translation>
    </message>
    <message>
        <source>ファイルを保存しました。</source>
        <translation>The file was saved.</translation>
    </message>
    <message>
        <source>ダイアログ</source>
        <translation>Dialogs</translation>
    </message>
    <message>
        <source>復旧用の記録を書けませんでした: %1</source>
        <translation>Could not write the recovery record: %1</translation>
    </message>
    <message>
        <source>新規プロジェクト(&amp;P)</source>
        <translation>New &amp;Project</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>プロジェクト/リソースの読込み(&amp;O)</source>
        <translation>&amp;Open Project/Resource...</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>プロジェクトの保存（全てのリソース）(&amp;S)</source>
        <translation>&amp;Save Project (All Resources)...</translation>
    </message>
    <message>
        <source>リソースの保存（このリソースのみ）</source>
        <translation>Save Resource (This Resource Only)...</translation>
    </message>
    <message>
        <source>このリソースを閉じる(&amp;C)</source>
        <translation>&amp;Close This Resource</translation>
    </message>
    <message>
        <source>スケルトンの作成(&amp;M)</source>
        <translation>&amp;Make Skeleton...</translation>
    </message>
    <message>
        <source>全てのリソースを破棄</source>
        <translation>Discard All Resources</translation>
    </message>
    <message>
        <source>アプリケーションの終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>プロパティを検索(&amp;F)</source>
        <translation>&amp;Find Property</translation>
    </message>
    <message>
        <source>リソースダイアログ</source>
        <translation>Resource Panel</translation>
    </message>
    <message>
        <source>ログ表示</source>
        <translation>Log Panel</translation>
    </message>
    <message>
        <source>再描画</source>
        <translation>Redraw</translation>
    </message>
    <message>
        <source>枠表示</source>
        <translation>Box Look</translation>
    </message>
    <message>
        <source>端末イメージ表示</source>
        <translation>Device Look</translation>
    </message>
    <message>
        <source>データ送信</source>
        <translation>Send Data</translation>
    </message>
    <message>
        <source>ログのクリア</source>
        <translation>Clear Log</translation>
    </message>
    <message>
        <source>重ねて表示</source>
        <translation>Cascade</translation>
    </message>
    <message>
        <source>並べて表示</source>
        <translation>Tile</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>最近使ったファイル</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ウィンドウ(&amp;W)</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>ツールバー</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>View</translation>
    </message>
    <message>
        <source>レディ</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>ステータス</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。最近使ったファイルの一覧から削除します。
%1</source>
        <translation>The file cannot be found. It is removed from the recent files.
%1</translation>
    </message>
    <message>
        <source>エラー: ファイルを開けませんでした。
%1
%2</source>
        <translation>Error: The file could not be opened.
%1
%2</translation>
    </message>
    <message>
        <source>ダイアログが見つかりませんでした。
%1</source>
        <translation>No dialog was found.
%1</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>新規に開く</source>
        <translation>Open Anew</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>現在のプロジェクトに追加しますか？</source>
        <translation>Add to the current project?</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>ファイルを保存できませんでした。
%1
%2</source>
        <translation>The file could not be saved.
%1
%2</translation>
    </message>
    <message>
        <source>上書き</source>
        <translation>Overwrite</translation>
    </message>
    <message>
        <source>別名で保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>ファイルが他のプログラムで変更されています。上書きしますか？
%1</source>
        <translation>Another program changed the file. Overwrite it?
%1</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
    <message>
        <source>ファイルが他のプログラムで変更されました。読み直しますか？
%1</source>
        <translation>Another program changed the file. Read it again?
%1</translation>
    </message>
    <message>
        <source>ファイルが他のプログラムで変更されました。
%1
保存されていない変更があるため、読み直しません。このファイルへ保存するときは、上書きするかどうかを確認します。</source>
        <translation>Another program changed the file.
%1
It is not read again because there are unsaved changes. Saving to this file will ask whether to overwrite it.</translation>
    </message>
    <message>
        <source>前回、保存されずに終了した編集があります。
</source>
        <translation>Edits from a session that ended without saving were found.
</translation>
    </message>
    <message>
        <source>
%1&#x3000;%2</source>
        <translation>
%1  %2</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>

復元では一番上の編集を開きます。ほかの編集は次の起動まで残ります。</source>
        <translation>

Restore opens the topmost edits. The others are kept until the next start.</translation>
    </message>
    <message>
        <source>復元</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>破棄</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>後で</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>エラー: 編集を復元できませんでした。
%1</source>
        <translation>Error: The edits could not be restored.
%1</translation>
    </message>
    <message>
        <source>エラー: 編集を復元できませんでした。
</source>
        <translation>Error: The edits could not be restored.
</translation>
    </message>
    <message>
        <source>変更を保存しますか？</source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>応答なし</source>
        <translation>No response</translation>
    </message>
    <message>
        <source>応答あり</source>
        <translation>Responding</translation>
    </message>
    <message>
        <source>応答受信</source>
        <translation>Response received</translation>
    </message>
    <message>
        <source>接続状態</source>
        <translation>Connection state</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>アイコン</source>
        <translation>Icon</translation>
    </message>
    <message>
        <source>データ :</source>
        <translation>Data :</translation>
    </message>
    <message>
        <source>システムの言語に合わせる</source>
        <translation>Follow the System</translation>
    </message>
    <message>
        <source>言語の設定は次回の起動から有効になります。</source>
        <translation>The language takes effect the next time the editor starts.</translation>
    </message>
    <message>
        <source>言語 / Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>検査する端末サイズ(&amp;Z)...</source>
        <translation>Device Si&amp;zes Checked...</translation>
    </message>
    <message>
        <source>問題の数</source>
        <translation>Number of problems</translation>
    </message>
    <message>
        <source>プレビューを画像で保存...</source>
        <translation>Save Preview as Image...</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>100%で表示</source>
        <translation>Actual Size (100%)</translation>
    </message>
    <message>
        <source>プレビューのサイズ</source>
        <translation>Preview size</translation>
    </message>
    <message>
        <source>ウィンドウのサイズ</source>
        <translation>Window Size</translation>
    </message>
    <message>
        <source>ダイアログの設定</source>
        <translation>Dialog&apos;s Design Size</translation>
    </message>
    <message>
        <source>表示倍率</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>プレビューを画像で保存</source>
        <translation>Save Preview as Image</translation>
    </message>
    <message>
        <source>PNG 画像 (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>エラー: プレビューの画像を保存できませんでした。
%1
%2</source>
        <translation>Error: The preview image could not be saved.
%1
%2</translation>
    </message>
</context>
<context>
    <name>vesk::CProblemsModel</name>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>情報</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>重要度</source>
        <translation>Severity</translation>
    </message>
    <message>
        <source>コード</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>場所</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>項目</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Message</translation>
    </message>
</context>
<context>
    <name>vesk::CProblemsPage</name>
    <message>
        <source>問題</source>
        <translation>Problems</translation>
    </message>
    <message>
        <source>表示する重要度</source>
        <translation>Severities shown</translation>
    </message>
    <message>
        <source>すべて</source>
        <translation>All</translation>
    </message>
    <message>
        <source>端末サイズ...</source>
        <translation>Device Sizes...</translation>
    </message>
    <message>
        <source>検査する端末サイズ</source>
        <translation>Device sizes checked</translation>
    </message>
    <message>
        <source>問題の一覧</source>
        <translation>Problem list</translation>
    </message>
    <message>
        <source>重要度:</source>
        <translation>Severity:</translation>
    </message>
    <message>
        <source>エラー %1 警告 %2</source>
        <translation>Errors %1 Warnings %2</translation>
    </message>
</context>
<context>
    <name>vesk::CPropertyListCtrl</name>
    <message>
        <source>プロパティー</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>プロパティーの列</source>
        <translation>Property columns</translation>
    </message>
</context>
<context>
    <name>vesk::CPropertyPanel</name>
    <message>
        <source>プロパティを検索</source>
        <translation>Find property</translation>
    </message>
    <message>
        <source>検索を消去</source>
        <translation>Clear search</translation>
    </message>
</context>
<context>
    <name>vesk::CResourceDlg</name>
    <message>
        <source>プロジェクトフォルダ</source>
        <translation>Project folder</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>フォルダを選択してください</source>
        <translation>Choose a folder</translation>
    </message>
    <message>
        <source>プロパティー</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>リソースパネルのページ</source>
        <translation>Resource panel pages</translation>
    </message>
    <message>
        <source>接続</source>
        <translation>Connection</translation>
    </message>
</context>
<context>
    <name>vesk::CResourceTreeCtrl</name>
    <message>
        <source>リソースツリー</source>
        <translation>Resource tree</translation>
    </message>
</context>
<context>
    <name>vesk::CResourceTreeModel</name>
    <message>
        <source>現在の項目</source>
        <translation>Current item</translation>
    </message>
    <message>
        <source>選択中</source>
        <translation>Selected</translation>
    </message>
    <message>
        <source>エラーあり</source>
        <translation>Has errors</translation>
    </message>
</context>
<context>
    <name>vesk::CSkeletonDlg</name>
    <message>
        <source>メイン</source>
        <translation>Main</translation>
    </message>
    <message>
        <source>アプリケーション</source>
        <translation>Application</translation>
    </message>
    <message>
        <source>ダイアログ生成</source>
        <translation>Dialog factory</translation>
    </message>
    <message>
        <source>ダイアログ</source>
        <translation>Dialogs</translation>
    </message>
    <message>
        <source>JSON</source>
        <translation>JSON</translation>
    </message>
    <message>
        <source>プロジェクト</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>Makefile</source>
        <translation>Makefile</translation>
    </message>
    <message>
        <source>スケルトン生成</source>
        <translation>Generate Skeleton</translation>
    </message>
    <message>
        <source>上書き</source>
        <translation>Overwrite</translation>
    </message>
    <message>
        <source>←ここにチェックを入れると全て上書きになります。個別指定は下のチェックで。</source>
        <translation>← Check this to overwrite everything. Choose file by file with the boxes below.</translation>
    </message>
    <message>
        <source>上書き（%1）</source>
        <translation>Overwrite (%1)</translation>
    </message>
    <message>
        <source> のファイル</source>
        <translation> files</translation>
    </message>
    <message>
        <source>ダイアログ名</source>
        <translation>Dialog name</translation>
    </message>
    <message>
        <source>このダイアログのみ</source>
        <translation>This dialog only</translation>
    </message>
    <message>
        <source>すべてのダイアログ</source>
        <translation>All dialogs</translation>
    </message>
    <message>
        <source>出力フォルダ</source>
        <translation>Output folder</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>結果</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>フォルダの参照</source>
        <translation>Browse for Folder</translation>
    </message>
    <message>
        <source>フォルダを選択してください</source>
        <translation>Choose a folder</translation>
    </message>
    <message>
        <source> を更新しました。</source>
        <translation> was written.</translation>
    </message>
    <message>
        <source> キャンセルしました。(テンプレートの読込みエラー)</source>
        <translation> was skipped. (The template could not be read)</translation>
    </message>
    <message>
        <source> キャンセルしました。(ファイルが存在します[上書き禁止])</source>
        <translation> was skipped. (The file exists [overwriting is off])</translation>
    </message>
    <message>
        <source> キャンセルしました。(書込みできませんでした)</source>
        <translation> was skipped. (It could not be written)</translation>
    </message>
    <message>
        <source> キャンセルしました。(オープンエラー)</source>
        <translation> was skipped. (It could not be opened)</translation>
    </message>
    <message>
        <source> TemplateType が指定されていません。</source>
        <translation> has no TemplateType.</translation>
    </message>
    <message>
        <source> フォルダが作成できませんでした。</source>
        <translation>: the folder could not be made.</translation>
    </message>
    <message>
        <source>出力フォルダが指定されていません。</source>
        <translation>No output folder is given.</translation>
    </message>
</context>
<context>
    <name>vesk::CTekDialogEditorView</name>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>次のオブジェクト</source>
        <translation>Next object</translation>
    </message>
    <message>
        <source>前のオブジェクト</source>
        <translation>Previous object</translation>
    </message>
    <message>
        <source>左のオブジェクト</source>
        <translation>Object to the left</translation>
    </message>
    <message>
        <source>右のオブジェクト</source>
        <translation>Object to the right</translation>
    </message>
    <message>
        <source>上のオブジェクト</source>
        <translation>Object above</translation>
    </message>
    <message>
        <source>下のオブジェクト</source>
        <translation>Object below</translation>
    </message>
    <message>
        <source>最初の子オブジェクト</source>
        <translation>First child object</translation>
    </message>
    <message>
        <source>親グループ</source>
        <translation>Parent group</translation>
    </message>
    <message>
        <source>Text / Name の編集</source>
        <translation>Edit Text / Name</translation>
    </message>
    <message>
        <source>横スクロール</source>
        <translation>Horizontal scroll</translation>
    </message>
    <message>
        <source>縦スクロール</source>
        <translation>Vertical scroll</translation>
    </message>
</context>
<context>
    <name>vesk::CTreePanel</name>
    <message>
        <source>前へ移動</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>選択オブジェクトを前へ移動させます</source>
        <translation>Moves the selected object up</translation>
    </message>
    <message>
        <source>後ろへ移動</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>選択オブジェクトを後ろへ移動させます</source>
        <translation>Moves the selected object down</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>選択オブジェクトの削除</source>
        <translation>Delete the selected object</translation>
    </message>
    <message>
        <source>選択オブジェクトの削除（削除したオブジェクトはクリップボードへ保存されます）</source>
        <translation>Deletes the selected object (the deleted object is kept on the clipboard)</translation>
    </message>
    <message>
        <source>Group化</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>グループ化/グループ解除</source>
        <translation>Group/Ungroup</translation>
    </message>
    <message>
        <source>グループ化：新規にグループオブジェクトを作成し、選択オブジェクトを挿入 / グループ解除：最上位階層のグループオブジェクトの削除</source>
        <translation>Group: makes a new group object holding the selected object / Ungroup: removes the group object, keeping its contents</translation>
    </message>
    <message>
        <source>挿入：</source>
        <translation>Insert:</translation>
    </message>
    <message>
        <source>後ろへ</source>
        <translation>After</translation>
    </message>
    <message>
        <source>同階層の後ろへ挿入</source>
        <translation>Insert after, on the same level</translation>
    </message>
    <message>
        <source>選択オブジェクトの後ろ（同階層）へ挿入</source>
        <translation>Inserts after the selected object (on the same level)</translation>
    </message>
    <message>
        <source>下先頭へ</source>
        <translation>First Inside</translation>
    </message>
    <message>
        <source>下階層の先頭へ挿入</source>
        <translation>Insert first, one level down</translation>
    </message>
    <message>
        <source>選択オブジェクトの下階層の先頭へ挿入</source>
        <translation>Inserts as the first child of the selected object</translation>
    </message>
    <message>
        <source>下末尾へ</source>
        <translation>Last Inside</translation>
    </message>
    <message>
        <source>下階層の末尾へ挿入</source>
        <translation>Insert last, one level down</translation>
    </message>
    <message>
        <source>選択オブジェクトの下階層の末尾へ挿入</source>
        <translation>Inserts as the last child of the selected object</translation>
    </message>
    <message>
        <source>Grp.解除</source>
        <translation>Ungroup</translation>
    </message>
    <message>
        <source>エラー: リソースデータの取得に失敗しました.</source>
        <translation>Error: The resource data could not be read.</translation>
    </message>
    <message>
        <source>ツリーからコピーするオブジェクトを選択して下さい。</source>
        <translation>Select the object to copy in the tree.</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>切り取り</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>上へ</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>下へ</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>挿入</source>
        <translation>Insert</translation>
    </message>
</context>
<context>
    <name>vesk::ChoiceText</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ヘッダ項目追加</source>
        <translation>Add header column</translation>
    </message>
</context>
<context>
    <name>vesk::CoreText</name>
    <message>
        <source>エラー：Tcpサーバが開始出来ませんでした。</source>
        <translation>Error: The TCP server could not be started.</translation>
    </message>
    <message>
        <source>アプリケーション名が登録されていません。
リソースツリーのRootのNameを設定して下さい。</source>
        <translation>The application has no name.
Set the Name of the Root in the resource tree.</translation>
    </message>
    <message>
        <source>引数 lpSockAddrLen が無効です。ピア アドレスを格納するには、lpSockAddr バッファが小さすぎます。</source>
        <translation>The lpSockAddrLen argument is not valid: the lpSockAddr buffer is too small to hold the peer address.</translation>
    </message>
    <message>
        <source>ソケットが Bind を使用してバインドされていません。</source>
        <translation>The socket has not been bound with Bind.</translation>
    </message>
    <message>
        <source>ソケットは非ブロッキングになっていて、ReceiveFrom 操作がブロックされました。</source>
        <translation>The socket is non-blocking and the ReceiveFrom operation would block.</translation>
    </message>
    <message>
        <source>実行中の Windows ソケット呼び出しがブロッキングされています。</source>
        <translation>A blocking Windows Sockets call is in progress.</translation>
    </message>
    <message>
        <source>記述子がソケットではありません。</source>
        <translation>The descriptor is not a socket.</translation>
    </message>
    <message>
        <source>データグラムが長すぎて、指定したバッファに入りきらないため、切り詰められました。</source>
        <translation>The datagram was too large for the buffer given and was truncated.</translation>
    </message>
    <message>
        <source>MSG_OOB が指定されましたが、SOCK_STREAM 型のソケットではありません。</source>
        <translation>MSG_OOB was given, but the socket is not of type SOCK_STREAM.</translation>
    </message>
    <message>
        <source>Windows ソケットの実装が、ネットワーク サブシステムの異常を検出しました。</source>
        <translation>The Windows Sockets implementation detected that the network subsystem failed.</translation>
    </message>
    <message>
        <source>タイムアウトまたはその他の障害により、仮想回路はアボートされました。</source>
        <translation>The virtual circuit was aborted by a time-out or another failure.</translation>
    </message>
    <message>
        <source>リモート側から仮想回路がリセットされました。</source>
        <translation>The virtual circuit was reset by the remote side.</translation>
    </message>
    <message>
        <source>ソケットが接続されていません (SOCK_STREAM 型だけ)。</source>
        <translation>The socket is not connected (SOCK_STREAM only).</translation>
    </message>
    <message>
        <source>ソケットはシャットダウンしています。nHow に 0 または 2 を指定して ShutDown を起動した後では、ソケットで ReceiveFrom を呼び出すことはできません。</source>
        <translation>The socket has been shut down: ReceiveFrom cannot be called after ShutDown with nHow 0 or 2.</translation>
    </message>
    <message>
        <source>初期化が正常に行われていません。</source>
        <translation>Initialisation did not succeed.</translation>
    </message>
</context>
<context>
    <name>vesk::DialogPrompts</name>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>vesk::DropHandler</name>
    <message>
        <source>画像を設定できるオブジェクトの上へドロップして下さい。</source>
        <translation>Drop the picture on an object that can show a picture.</translation>
    </message>
</context>
<context>
    <name>vesk::DropIndicator</name>
    <message>
        <source>ドロップ先</source>
        <translation>Drop target</translation>
    </message>
</context>
<context>
    <name>vesk::FolderChooser</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>vesk::ItemDescription</name>
    <message>
        <source>PARENT:包括しているグループオブジェクトの大きさの最大に合わせる。CONTENT:オブジェクト自身の大きさそのまま。数値:プライベートユニット。</source>
        <translation>PARENT: as large as the enclosing group allows. CONTENT: the object&apos;s own size. A number: private units.</translation>
    </message>
    <message>
        <source>グループ内オブジェクトの大きさを&apos;比&apos;で指定します。同じ大きさを指定することで等幅配置などが可能。</source>
        <translation>The object&apos;s share of its group&apos;s room. Equal weights give equal widths.</translation>
    </message>
    <message>
        <source>パディング。オブジェクトの内側のオフセット。カンマ区切りで左から時計周りで４辺指定。左,上,右,下。</source>
        <translation>Padding: the offset inside the object. Four comma-separated sides, clockwise from the left: left,top,right,bottom.</translation>
    </message>
    <message>
        <source>マージン。オブジェクトの外側のオフセット。カンマ区切りで左から時計周りで４辺指定。左,上,右,下。</source>
        <translation>Margin: the offset outside the object. Four comma-separated sides, clockwise from the left: left,top,right,bottom.</translation>
    </message>
    <message>
        <source>更新する表示属性（通常/消す）</source>
        <translation>Visibility to set (normal/erased)</translation>
    </message>
    <message>
        <source>更新する表示属性（通常/無効）</source>
        <translation>State to set (normal/disabled)</translation>
    </message>
    <message>
        <source>色を指定します。</source>
        <translation>The colour.</translation>
    </message>
    <message>
        <source>クリック可能/不可能を指定します。</source>
        <translation>Whether the object can be clicked.</translation>
    </message>
    <message>
        <source>コマンド名を選択するとコマンドが追加されます</source>
        <translation>Choosing a command name adds that command</translation>
    </message>
    <message>
        <source>BUILTIN:プリインストール(省略時)。STATION:Veskサーバから取得。URI:Webサイトからダウンロード。STRAGE:端末の外部フォルダから取得</source>
        <translation>BUILTIN: preinstalled (the default). STATION: fetched from the Vesk server. URI: downloaded from a web site. STRAGE: read from the terminal&apos;s external folder</translation>
    </message>
    <message>
        <source>指定したファイルがWebにある場合に指定</source>
        <translation>Where the file lies on the web, if it does</translation>
    </message>
    <message>
        <source>テキストのサイズを指定します</source>
        <translation>The size of the text</translation>
    </message>
    <message>
        <source>LEFT:左寄せ CENTER:中央 RIGHT:右寄せ TOP:上寄せ MIDDLE:中央 BOTTOM:下寄せ。 &apos;|&apos;で組合せ可能。</source>
        <translation>LEFT: left CENTER: centre RIGHT: right TOP: top MIDDLE: middle BOTTOM: bottom. Combine with &apos;|&apos;.</translation>
    </message>
    <message>
        <source>CONDITIONコマンドで送信される要素</source>
        <translation>The values the CONDITION command sends</translation>
    </message>
    <message>
        <source>画像ファイル名を指定します</source>
        <translation>The picture&apos;s file name</translation>
    </message>
    <message>
        <source>値を指定します</source>
        <translation>The value</translation>
    </message>
    <message>
        <source>初期値を指定します</source>
        <translation>The initial value</translation>
    </message>
    <message>
        <source>通常状態で表示されるオブジェクトの画像ファイル名</source>
        <translation>The picture shown in the normal state</translation>
    </message>
    <message>
        <source>押下などアクティブ状態で表示されるオブジェクトの画像ファイル名</source>
        <translation>The picture shown when active (pressed and so on)</translation>
    </message>
    <message>
        <source>プログレスのベース画像ファイル名</source>
        <translation>The progress bar&apos;s base picture</translation>
    </message>
    <message>
        <source>プログレスのアクティブ部分の画像ファイル名</source>
        <translation>The picture of the progress bar&apos;s filled part</translation>
    </message>
    <message>
        <source>最小値を指定します</source>
        <translation>The smallest value</translation>
    </message>
    <message>
        <source>最大値を指定します</source>
        <translation>The largest value</translation>
    </message>
    <message>
        <source>スライドバーのつまみ画像</source>
        <translation>The slide bar&apos;s thumb picture</translation>
    </message>
    <message>
        <source>メーターオブジェクトの動く画像ファイル名（針）</source>
        <translation>The meter&apos;s moving picture (the needle)</translation>
    </message>
    <message>
        <source>メーターオブジェクトの最前面画像（枠）</source>
        <translation>The meter&apos;s front picture (the frame)</translation>
    </message>
    <message>
        <source>メーターオブジェクトの背景画像の中心座標</source>
        <translation>The centre of the meter&apos;s background picture</translation>
    </message>
    <message>
        <source>メーターオブジェクトの動く画像の中心座標</source>
        <translation>The centre of the meter&apos;s moving picture</translation>
    </message>
    <message>
        <source>メーターオブジェクトの最前面画像の中心座標</source>
        <translation>The centre of the meter&apos;s front picture</translation>
    </message>
    <message>
        <source>グループオブジェクトの種類</source>
        <translation>The kind of group object</translation>
    </message>
    <message>
        <source>コマンド対象のファイルを指定します。</source>
        <translation>The file the command acts on.</translation>
    </message>
    <message>
        <source>このオブジェクトの名前（識別子）。コマンドの送受信時にオブジェクトを識別する為に使用。ダイアログ毎でユニークであること。</source>
        <translation>The object&apos;s name (its identifier). Commands sent and received name objects by it. Unique within each dialog.</translation>
    </message>
    <message>
        <source>このオブジェクトの別名（補助識別子）。重複可能、重複させて使用することで、コマンド &apos;UPDATE&apos;、&apos;CONDITION&apos;送受信時に一括指定可能。カンマ区切りで複数指定可能。</source>
        <translation>The object&apos;s alias (a second identifier). Objects may share one, so that the commands &apos;UPDATE&apos; and &apos;CONDITION&apos; reach them all at once. Several, separated by commas.</translation>
    </message>
    <message>
        <source>機能オブジェクトの種類</source>
        <translation>The kind of object</translation>
    </message>
    <message>
        <source>包括しているグループオブジェクトの左上座標からの相対X座標。プライベートユニット。</source>
        <translation>X from the enclosing group&apos;s top left corner, in private units.</translation>
    </message>
    <message>
        <source>包括しているグループオブジェクトの左上座標からの相対Y座標。プライベートユニット。</source>
        <translation>Y from the enclosing group&apos;s top left corner, in private units.</translation>
    </message>
    <message>
        <source>カラムの幅を自動伸縮する/しないを指定します</source>
        <translation>Whether the column stretches to the spare width</translation>
    </message>
    <message>
        <source>カラムに収まらない長さの文字列の表示方法を指定します。true:改行して表示する false:何もしない</source>
        <translation>How a text longer than its column shows. true: wrapped onto more lines false: as it is</translation>
    </message>
    <message>
        <source>隣のカラムとくっつけて１つのカラムにします。（くっつけるカラムの数を指定します）</source>
        <translation>Joins the cell with the next columns into one (the number of columns joined)</translation>
    </message>
    <message>
        <source>ボタン上に表示するテキストを指定します。</source>
        <translation>The text shown on the object.</translation>
    </message>
    <message>
        <source>属性を指定します</source>
        <translation>The state</translation>
    </message>
    <message>
        <source>属性OFF時にボタン上に表示するテキストを指定します。</source>
        <translation>The text shown when the state is OFF.</translation>
    </message>
    <message>
        <source>属性ON時にボタン上に表示するテキストを指定します。</source>
        <translation>The text shown when the state is ON.</translation>
    </message>
    <message>
        <source>画像の表示方法を指定します</source>
        <translation>How the picture is scaled</translation>
    </message>
    <message>
        <source>スクロール・ピンチズームを使う/使わないを指定します</source>
        <translation>Whether scrolling and pinch zoom are on</translation>
    </message>
    <message>
        <source>データの初期値を指定します。</source>
        <translation>The initial data.</translation>
    </message>
    <message>
        <source>カラムの高さを指定します。</source>
        <translation>The height of the rows.</translation>
    </message>
    <message>
        <source>スライドバーのベース画像ファイル名</source>
        <translation>The slide bar&apos;s base picture</translation>
    </message>
    <message>
        <source>メーターオブジェクトの背景画像ファイル名（目盛）</source>
        <translation>The meter&apos;s background picture (the scale)</translation>
    </message>
    <message>
        <source>スライドバーのアクティブ部分の画像ファイル名</source>
        <translation>The picture of the slide bar&apos;s filled part</translation>
    </message>
    <message>
        <source>バーの配置方向を指定します。デフォルト（省略時：flase）は水平方向です。trueで垂直方向になります。</source>
        <translation>The bar&apos;s direction. The default (false) is horizontal; true makes it vertical.</translation>
    </message>
    <message>
        <source>Cursor画像の回転方向/移動方向を逆にします</source>
        <translation>Turns or moves the cursor picture the other way</translation>
    </message>
    <message>
        <source>メーターオブジェクトの動作パターンタイプ</source>
        <translation>How the meter moves</translation>
    </message>
    <message>
        <source>このオブジェクトの名前です。</source>
        <translation>The object&apos;s name.</translation>
    </message>
    <message>
        <source>並べる方向を指定します。デフォルト（省略時：flase）は水平方向です。trueで垂直方向になります。</source>
        <translation>The direction the children run. The default (false) is horizontal; true makes it vertical.</translation>
    </message>
    <message>
        <source>ラジオグループ専用の要素です。値通知コマンド「NOTIFY」で使用します。</source>
        <translation>For radio groups only: the NOTIFY command uses it.</translation>
    </message>
    <message>
        <source>コマンド開始トリガー</source>
        <translation>The event that starts the command</translation>
    </message>
    <message>
        <source>コマンド名</source>
        <translation>The command&apos;s name</translation>
    </message>
    <message>
        <source>生成コマンド名</source>
        <translation>The command generated</translation>
    </message>
    <message>
        <source>対象オブジェクトの名前(Name)を指定。カンマ区切りで複数指定可能。</source>
        <translation>The Name of the objects acted on. Several, separated by commas.</translation>
    </message>
    <message>
        <source>対象オブジェクトの別名(Alias)を指定。複数指定不可。</source>
        <translation>The Alias of the objects acted on. Only one.</translation>
    </message>
    <message>
        <source>更新するテキスト値</source>
        <translation>The text to set</translation>
    </message>
    <message>
        <source>更新する属性</source>
        <translation>The state to set</translation>
    </message>
    <message>
        <source>更新するデータ</source>
        <translation>The data to set</translation>
    </message>
    <message>
        <source>更新する値</source>
        <translation>The value to set</translation>
    </message>
    <message>
        <source>取得するファイル名</source>
        <translation>The file to fetch</translation>
    </message>
    <message>
        <source>インターバルをミリ秒で指定します。</source>
        <translation>The interval in milliseconds.</translation>
    </message>
    <message>
        <source>ファイル取得コマンドをステーションへ送信します。</source>
        <translation>Sends the file request command to the station.</translation>
    </message>
    <message>
        <source>受信したことを通知するオブジェクトの名前</source>
        <translation>The object told when the file has arrived</translation>
    </message>
    <message>
        <source>スケルトンソースコードのテンプレートの種類を決定します。</source>
        <translation>Which template the skeleton source code uses.</translation>
    </message>
    <message>
        <source>画面の幅を任意の数値指定。単位&apos;pu&apos;で使用。</source>
        <translation>The screen width as a number, in &apos;pu&apos;.</translation>
    </message>
    <message>
        <source>画面の高さを任意の数値指定。単位&apos;pu&apos;で使用。</source>
        <translation>The screen height as a number, in &apos;pu&apos;.</translation>
    </message>
</context>
<context>
    <name>vesk::ProjectDocument</name>
    <message>
        <source>エラー: リソースの取得に失敗しました.</source>
        <translation>Error: The resource could not be read.</translation>
    </message>
    <message>
        <source>エラー: リソースデータの取得に失敗しました.</source>
        <translation>Error: The resource data could not be read.</translation>
    </message>
    <message>
        <source>エラー: ヘッダのオブジェクトが取得できませんでした。</source>
        <translation>Error: The header&apos;s object could not be found.</translation>
    </message>
    <message>
        <source>登録する場所を決定するために、ツリーのオブジェクトを選択して下さい。</source>
        <translation>Select an object in the tree to say where to put it.</translation>
    </message>
    <message>
        <source>登録する場所を決定するために、ツリーのダイアログ、
またはオブジェクトを選択して下さい。</source>
        <translation>Select a dialog or an object in the tree
to say where to put it.</translation>
    </message>
    <message>
        <source>GROUPオブジェクトを登録して下さい。</source>
        <translation>Put a GROUP object there first.</translation>
    </message>
    <message>
        <source>ラジオボタンはラジオグループに追加して下さい。</source>
        <translation>Put radio buttons into a radio group.</translation>
    </message>
    <message>
        <source>エラー: デフォルトグループはグループ解除できません.</source>
        <translation>Error: The dialog&apos;s top group cannot be ungrouped.</translation>
    </message>
    <message>
        <source>エラー: デフォルトグループは移動できません.</source>
        <translation>Error: The dialog&apos;s top group cannot be moved.</translation>
    </message>
    <message>
        <source>グループをそれ自身の中へ移動することはできません。</source>
        <translation>A group cannot be moved into itself.</translation>
    </message>
    <message>
        <source>オブジェクトは同じダイアログの中で移動して下さい。</source>
        <translation>Move objects within their own dialog.</translation>
    </message>
    <message>
        <source>ヘッダ項目とコマンドは同じオブジェクトの中で移動して下さい。</source>
        <translation>Move header columns and commands within their own object.</translation>
    </message>
    <message>
        <source>ダイアログはダイアログの前後へ移動して下さい。</source>
        <translation>Move dialogs before or after other dialogs.</translation>
    </message>
    <message>
        <source>ダイアログ名に「%1」は使えません。
英字、数字と _ だけが使えます。</source>
        <translation>A dialog name cannot hold &apos;%1&apos;.
Only letters, digits and _ can be used.</translation>
    </message>
    <message>
        <source>ダイアログ名 %1 は使われているため %2 にしました。</source>
        <translation>The dialog name %1 is taken, so the dialog is named %2.</translation>
    </message>
</context>
<context>
    <name>vesk::SidePanelLists</name>
    <message>
        <source>挿入オブジェクト</source>
        <translation>Objects</translation>
    </message>
    <message>
        <source>標準画像(BUILTIN)</source>
        <translation>Built-in Pictures (BUILTIN)</translation>
    </message>
    <message>
        <source>ユーザ登録画像(STATION)</source>
        <translation>User Pictures (STATION)</translation>
    </message>
    <message>
        <source>クリップボード</source>
        <translation>Clipboard</translation>
    </message>
</context>
<context>
    <name>vesk::UiText</name>
    <message>
        <source>エラー: Shift_JISで表せない文字が含まれているため、値を変更できません。
%1</source>
        <translation>Error: The value holds characters that Shift_JIS cannot represent, so it cannot be changed.
%1</translation>
    </message>
</context>
</TS>
