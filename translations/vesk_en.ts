<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>vesk</name>
    <message>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>挿入オブジェクト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>標準画像(BUILTIN)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ユーザ登録画像(STATION)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>クリップボード</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::CLinkPage</name>
    <message>
        <source>接続</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>待受</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>切断</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>送信</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>編集を端末へ自動送信</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>待受ポート</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IPアドレス</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::CLogDlg</name>
    <message>
        <source>通信ログ</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::CMainFrame</name>
    <message>
        <source>リソースファイル (*.veskspro)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>リソースファイル (*.json)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルを保存しました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ダイアログ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>復旧用の記録を書けませんでした: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新規プロジェクト(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロジェクト/リソースの読込み(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロジェクトの保存（全てのリソース）(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>リソースの保存（このリソースのみ）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>このリソースを閉じる(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>スケルトンの作成(&amp;M)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全てのリソースを破棄</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アプリケーションの終了(&amp;X)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>切り取り(&amp;T)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロパティを検索(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>リソースダイアログ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ログ表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>再描画</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>枠表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>端末イメージ表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>データ送信</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ログのクリア</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重ねて表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>並べて表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最近使ったファイル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ウィンドウ(&amp;W)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ツールバー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>レディ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ステータス</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルが見つかりません。最近使ったファイルの一覧から削除します。
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>エラー: ファイルを開けませんでした。
%1
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ダイアログが見つかりませんでした。
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>追加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新規に開く</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>現在のプロジェクトに追加しますか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>開く</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルを保存できませんでした。
%1
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上書き</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>別名で保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルが他のプログラムで変更されています。上書きしますか？
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>はい</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルが他のプログラムで変更されました。読み直しますか？
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルが他のプログラムで変更されました。
%1
保存されていない変更があるため、読み直しません。このファイルへ保存するときは、上書きするかどうかを確認します。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>前回、保存されずに終了した編集があります。
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
%1&#x3000;%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>無題</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

復元では一番上の編集を開きます。ほかの編集は次の起動まで残ります。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>復元</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>破棄</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>後で</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>エラー: 編集を復元できませんでした。
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>エラー: 編集を復元できませんでした。
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>変更を保存しますか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プレビュー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>応答なし</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>応答あり</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>応答受信</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>接続状態</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アイコン</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>データ :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>システムの言語に合わせる</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>言語の設定は次回の起動から有効になります。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::CPropertyListCtrl</name>
    <message>
        <source>プロパティー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロパティーの列</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::CPropertyPanel</name>
    <message>
        <source>プロパティを検索</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>検索を消去</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::CResourceDlg</name>
    <message>
        <source>プロジェクトフォルダ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>参照</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フォルダを選択してください</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロパティー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>リソースパネルのページ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>接続</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::CResourceTreeCtrl</name>
    <message>
        <source>リソースツリー</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::CResourceTreeModel</name>
    <message>
        <source>現在の項目</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択中</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::CSkeletonDlg</name>
    <message>
        <source>メイン</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アプリケーション</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ダイアログ生成</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ダイアログ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JSON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロジェクト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Makefile</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>スケルトン生成</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上書き</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>←ここにチェックを入れると全て上書きになります。個別指定は下のチェックで。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上書き（%1）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> のファイル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ダイアログ名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>このダイアログのみ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべてのダイアログ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>出力フォルダ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>参照</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>結果</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フォルダの参照</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フォルダを選択してください</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::CTekDialogEditorView</name>
    <message>
        <source>プレビュー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>次のオブジェクト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>前のオブジェクト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左のオブジェクト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右のオブジェクト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上のオブジェクト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下のオブジェクト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最初の子オブジェクト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>親グループ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text / Name の編集</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::CTreePanel</name>
    <message>
        <source>前へ移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択オブジェクトを前へ移動させます</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>後ろへ移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択オブジェクトを後ろへ移動させます</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択オブジェクトの削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択オブジェクトの削除（削除したオブジェクトはクリップボードへ保存されます）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group化</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グループ化/グループ解除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グループ化：新規にグループオブジェクトを作成し、選択オブジェクトを挿入 / グループ解除：最上位階層のグループオブジェクトの削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>挿入：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>後ろへ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>同階層の後ろへ挿入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択オブジェクトの後ろ（同階層）へ挿入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下先頭へ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下階層の先頭へ挿入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択オブジェクトの下階層の先頭へ挿入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下末尾へ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下階層の末尾へ挿入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択オブジェクトの下階層の末尾へ挿入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grp.解除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>エラー: リソースデータの取得に失敗しました.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ツリーからコピーするオブジェクトを選択して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>編集</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>切り取り</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>コピー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上へ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下へ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>挿入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>menuMoveUp</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::CoreText</name>
    <message>
        <source>エラー：Tcpサーバが開始出来ませんでした。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アプリケーション名が登録されていません。
リソースツリーのRootのNameを設定して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::DialogPrompts</name>
    <message>
        <source>はい(&amp;Y)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::DropHandler</name>
    <message>
        <source>画像を設定できるオブジェクトの上へドロップして下さい。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::DropIndicator</name>
    <message>
        <source>ドロップ先</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::ProjectDocument</name>
    <message>
        <source>エラー: リソースの取得に失敗しました.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>エラー: リソースデータの取得に失敗しました.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>エラー: ヘッダのオブジェクトが取得できませんでした。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>登録する場所を決定するために、ツリーのオブジェクトを選択して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>登録する場所を決定するために、ツリーのダイアログ、
またはオブジェクトを選択して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GROUPオブジェクトを登録して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ラジオボタンはラジオグループに追加して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>エラー: デフォルトグループはグループ解除できません.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>エラー: デフォルトグループは移動できません.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グループをそれ自身の中へ移動することはできません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>オブジェクトは同じダイアログの中で移動して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ヘッダ項目とコマンドは同じオブジェクトの中で移動して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ダイアログはダイアログの前後へ移動して下さい。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vesk::UiText</name>
    <message>
        <source>エラー: Shift_JISで表せない文字が含まれているため、値を変更できません。
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
