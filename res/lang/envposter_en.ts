<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>PosterTexts</name>
    <message>
        <source>掲示板のアドレスが正しくありません</source>
        <translation>The board&apos;s address is not valid</translation>
    </message>
    <message>
        <source>空</source>
        <translation>empty</translation>
    </message>
    <message>
        <source>掲示板のアドレスが http でも https でもありません</source>
        <translation>The board&apos;s address is neither http nor https</translation>
    </message>
    <message>
        <source>掲示板からの応答が %1 秒以内にありませんでした</source>
        <translation>The board did not answer within %1 seconds</translation>
    </message>
    <message>
        <source>掲示板に接続できませんでした</source>
        <translation>Could not connect to the board</translation>
    </message>
    <message>
        <source>掲示板のサーバーが見つかりませんでした</source>
        <translation>The board&apos;s server was not found</translation>
    </message>
    <message>
        <source>掲示板との接続が途中で切れました</source>
        <translation>The connection to the board broke off</translation>
    </message>
    <message>
        <source>掲示板との暗号化通信を始められませんでした</source>
        <translation>Could not start an encrypted connection to the board</translation>
    </message>
    <message>
        <source>掲示板に送信できませんでした</source>
        <translation>Could not send to the board</translation>
    </message>
    <message>
        <source>掲示板が応答しないまま接続を切りました</source>
        <translation>The board closed the connection without answering</translation>
    </message>
    <message>
        <source>掲示板が別の場所への転送を返しました</source>
        <translation>The board redirected to another place</translation>
    </message>
    <message>
        <source>転送先なし</source>
        <translation>no destination</translation>
    </message>
    <message>
        <source>掲示板がエラーを返しました</source>
        <translation>The board answered with an error</translation>
    </message>
    <message>
        <source>&#x3000;VELDRANE の動作状況を QUILLMARSH に教えてください。下のテキストボックスの全文をコピーして、QUILLMARSH の VELDRANE動作状況掲示板 (%1) に貼り付けてください。右のボタンを押すと、自動的に掲示板に貼り付けます。快適な動作環境の調査に利用させていただきます</source>
        <translation>Please tell QUILLMARSH how VELDRANE runs on your machine. Copy the whole text in the box below and paste it into QUILLMARSH&apos;s VELDRANE board (%1). The button on the right posts it to the board for you. We use it to learn which machines run the game well.</translation>
    </message>
    <message>
        <source>VELDRANE 動作環境チェッカー</source>
        <translation>VELDRANE Environment Checker</translation>
    </message>
    <message>
        <source>情報を取得し直します</source>
        <translation>Gather the information again</translation>
    </message>
    <message>
        <source>この情報を送信します</source>
        <translation>Send this information</translation>
    </message>
    <message>
        <source>クリア</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>全文をクリップボードにコピーします</source>
        <translation>Copy the whole text to the clipboard</translation>
    </message>
    <message>
        <source>ﾚｼﾞｽﾄﾘに保存したﾃﾞｰﾀをｸﾘｱします</source>
        <translation>Clears the data the game has stored</translation>
    </message>
    <message>
        <source>ゲームの保存データを別のプログラムが使い続けているため、読めませんでした。保存データのない状態として報告します。</source>
        <translation>The game&apos;s stored data could not be read, as another program keeps it in use. The report is made as if nothing were stored.</translation>
    </message>
    <message>
        <source>ゲームの保存データを読めませんでした。保存データのない状態として報告します。</source>
        <translation>The game&apos;s stored data could not be read. The report is made as if nothing were stored.</translation>
    </message>
    <message>
        <source>消去しました</source>
        <translation>Cleared</translation>
    </message>
    <message>
        <source>保存データのある場所に書き込めないため、消去できませんでした。</source>
        <translation>Could not clear: the place where the data is stored cannot be written.</translation>
    </message>
    <message>
        <source>保存データは新しい版の VELDRANE のものなので、消去しませんでした。</source>
        <translation>Not cleared: the stored data belongs to a newer version of VELDRANE.</translation>
    </message>
    <message>
        <source>消去できませんでした。ゲームを終了してから、もう一度お試しください。</source>
        <translation>Could not clear. Please quit the game and try again.</translation>
    </message>
    <message>
        <source>情報を取得中です…</source>
        <translation>Gathering the information…</translation>
    </message>
    <message>
        <source>送信完了しました！ ご協力ありがとうございました！</source>
        <translation>Sent! Thank you for your help!</translation>
    </message>
    <message>
        <source>報告が掲示板に届いたかどうか分かりません。%1。掲示板で確かめてから、必要ならもう一度送信してください。</source>
        <translation>It is not known whether the report reached the board. %1. Please look on the board, and send it again if needed.</translation>
    </message>
    <message>
        <source>送信できませんでした。%1</source>
        <translation>Could not send. %1</translation>
    </message>
    <message>
        <source>レジストリのデータを削除します</source>
        <translation>Delete the stored data</translation>
    </message>
    <message>
        <source>ハイスコア等のデータが消去されます。よろしいですか？</source>
        <translation>The high scores and the other stored data will be deleted. Are you sure?</translation>
    </message>
    <message>
        <source>キャンセルしました</source>
        <translation>Cancelled</translation>
    </message>
</context>
</TS>
