<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>CoreText</name>
    <message>
        <source>ディスクの空き容量が足りません。</source>
        <translation>There is not enough free disk space.</translation>
    </message>
    <message>
        <source>書き込みの権限がありません。</source>
        <translation>You have no permission to write there.</translation>
    </message>
    <message>
        <source>読み取り専用のファイル システムです。</source>
        <translation>The file system is read-only.</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます。</source>
        <translation>The file is too large.</translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation>It is not a regular file.</translation>
    </message>
    <message>
        <source>フォルダーが見つかりません。</source>
        <translation>The folder was not found.</translation>
    </message>
    <message>
        <source>デバイス I/O エラーです。</source>
        <translation>Device I/O error.</translation>
    </message>
    <message>
        <source>シンボリック リンクが循環しています。</source>
        <translation>The symbolic links form a loop.</translation>
    </message>
    <message>
        <source>開いているファイルが多すぎます。</source>
        <translation>Too many files are open.</translation>
    </message>
    <message>
        <source>メモリが不足しています。</source>
        <translation>Out of memory.</translation>
    </message>
    <message>
        <source>オーバーフローしました。</source>
        <translation>Overflow.</translation>
    </message>
    <message>
        <source>0 で除算しました。</source>
        <translation>Division by zero.</translation>
    </message>
    <message>
        <source>型が一致しません。</source>
        <translation>Type mismatch.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>File not found.</translation>
    </message>
    <message>
        <source>パス/ファイル アクセス エラーです。</source>
        <translation>Path/file access error.</translation>
    </message>
    <message>
        <source>アプリケーション定義またはオブジェクト定義のエラーです。</source>
        <translation>Application-defined or object-defined error.</translation>
    </message>
    <message>
        <source>エラーです。</source>
        <translation>An error has occurred.</translation>
    </message>
    <message>
        <source>場所       : </source>
        <translation>Location     : </translation>
    </message>
    <message>
        <source>エラー番号 : </source>
        <translation>Error number : </translation>
    </message>
    <message>
        <source>対応していない形式のファイルが選択されたか、ファイルが壊れています。<byte value="xd"/>
ファイルを確認してください。</source>
        <translation>The file chosen is of a format Dravik does not read, or it is damaged.<byte value="xd"/>
Please check the file.</translation>
    </message>
    <message>
        <source>データのサンプリング数が10ポイント以下のファイルには対応しておりません。<byte value="xd"/>
またはこのファイル形式には対応しておりません。<byte value="xd"/>
ファイルを確認してください。</source>
        <translation>Files of 10 samples or fewer cannot be read,<byte value="xd"/>
or this file format is not supported.<byte value="xd"/>
Please check the file.</translation>
    </message>
    <message>
        <source>項目「%1」がこのログにありません。</source>
        <translation>This log has no item &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>範囲のサンプルが 2 個未満です。</source>
        <translation>The range holds fewer than 2 samples.</translation>
    </message>
    <message>
        <source>該当するサンプルがありません。</source>
        <translation>No sample matches.</translation>
    </message>
    <message>
        <source>項目%1の色の変更</source>
        <translation>Change the colour of item %1</translation>
    </message>
    <message>
        <source> (秒)</source>
        <translation> (s)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>車速</source>
        <translation>vehicle speed</translation>
    </message>
    <message>
        <source>エンジン回転数</source>
        <translation>engine speed</translation>
    </message>
    <message>
        <source>噴射パルス幅</source>
        <translation>injector pulse width</translation>
    </message>
    <message>
        <source>このログに見つからない項目: %1
使う項目は「設定(S)」の「燃費計算の項目...」で選べます。</source>
        <translation>Items this log lacks: %1
Choose the items to use with &quot;Fuel economy items...&quot; in &quot;Settings&quot;.</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>走行時間 [秒]</source>
        <translation>Driving time [s]</translation>
    </message>
    <message>
        <source>平均速度 [km/h]</source>
        <translation>Average speed [km/h]</translation>
    </message>
    <message>
        <source>走行距離 [km]</source>
        <translation>Distance [km]</translation>
    </message>
    <message>
        <source>燃料消費量 [l]</source>
        <translation>Fuel used [l]</translation>
    </message>
    <message>
        <source>燃費 [km/l]</source>
        <translation>Fuel economy [km/l]</translation>
    </message>
    <message>
        <source>合計</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>インジェクタ容量</source>
        <translation>Injector flow</translation>
    </message>
    <message>
        <source>インジェクタ無効噴射時間</source>
        <translation>Injector latency</translation>
    </message>
    <message>
        <source>シリンダ数</source>
        <translation>Cylinders</translation>
    </message>
    <message>
        <source>%1には<byte value="xd"/>
正数の数値を入力してください。</source>
        <translation>Please enter a positive number<byte value="xd"/>
for %1.</translation>
    </message>
    <message>
        <source>計算項目は%1個までです</source>
        <translation>At most %1 computed items.</translation>
    </message>
    <message>
        <source>名前がありません</source>
        <translation>The name is missing.</translation>
    </message>
    <message>
        <source>名前が瞬間燃費の項目と同じです</source>
        <translation>The name is that of the fuel economy item.</translation>
    </message>
    <message>
        <source>名前がこのログの項目と同じです</source>
        <translation>The name is that of an item of this log.</translation>
    </message>
    <message>
        <source>名前が上の計算項目と同じです</source>
        <translation>The name is that of a computed item above.</translation>
    </message>
    <message>
        <source>値が小さすぎるか大きすぎてグラフに描けません</source>
        <translation>Its values are too small or too large for the chart.</translation>
    </message>
    <message>
        <source>[秒]</source>
        <translation>[s]</translation>
    </message>
    <message>
        <source>[分]</source>
        <translation>[min]</translation>
    </message>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>比較ログに共通の項目がありません。</source>
        <translation>The reference log shares no item with this log.</translation>
    </message>
</context>
<context>
    <name>dravik::AnalysisWindow</name>
    <message>
        <source>X軸:</source>
        <translation>X axis:</translation>
    </message>
    <message>
        <source>Y軸:</source>
        <translation>Y axis:</translation>
    </message>
    <message>
        <source>色:</source>
        <translation>Colour:</translation>
    </message>
    <message>
        <source>範囲:</source>
        <translation>Range:</translation>
    </message>
    <message>
        <source>条件:</source>
        <translation>Filter:</translation>
    </message>
    <message>
        <source>最小:</source>
        <translation>Min:</translation>
    </message>
    <message>
        <source>最大:</source>
        <translation>Max:</translation>
    </message>
    <message>
        <source>X軸の区切り:</source>
        <translation>X bin edges:</translation>
    </message>
    <message>
        <source>統計:</source>
        <translation>Statistic:</translation>
    </message>
    <message>
        <source>Y軸の区切り:</source>
        <translation>Y bin edges:</translation>
    </message>
    <message>
        <source>最少件数:</source>
        <translation>Least count:</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <source>ログが開かれていません。</source>
        <translation>No log is open.</translation>
    </message>
    <message>
        <source>X軸とY軸の項目を選んでください。</source>
        <translation>Choose the items of the X and Y axes.</translation>
    </message>
    <message>
        <source>数値ではありません。</source>
        <translation>Not a number.</translation>
    </message>
    <message>
        <source>条件の最小・最大が数値ではありません。</source>
        <translation>The filter&apos;s minimum or maximum is not a number.</translation>
    </message>
    <message>
        <source>メモリが不足しています。</source>
        <translation>Out of memory.</translation>
    </message>
    <message>
        <source>件数: </source>
        <translation>Count: </translation>
    </message>
    <message>
        <source>Dravik - 散布図/集計表</source>
        <translation>Dravik - Scatter plot/table</translation>
    </message>
    <message>
        <source>ログ全体</source>
        <translation>Whole log</translation>
    </message>
    <message>
        <source>カーソル間</source>
        <translation>Between the cursors</translation>
    </message>
    <message>
        <source>散布図</source>
        <translation>Scatter plot</translation>
    </message>
    <message>
        <source>集計表</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>automatic</translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>件数</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>最小</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>最大</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>画像を保存...</source>
        <translation>Save picture...</translation>
    </message>
    <message>
        <source>閉じる(&amp;X)</source>
        <translation>Clo&amp;se</translation>
    </message>
</context>
<context>
    <name>dravik::CommandPanel</name>
    <message>
        <source>ファイルを開く(&amp;O)</source>
        <translation>&amp;Open file</translation>
    </message>
    <message>
        <source>数値表示(&amp;V)</source>
        <translation>Numeric &amp;display</translation>
    </message>
    <message>
        <source>設定(&amp;S)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>倍率:</source>
        <translation>Mag.:</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
</context>
<context>
    <name>dravik::CoreText</name>
    <message>
        <source>…他 %1 項目</source>
        <translation>…%1 more items</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>automatic</translation>
    </message>
    <message>
        <source>「%1」は数値ではありません。</source>
        <translation>&quot;%1&quot; is not a number.</translation>
    </message>
    <message>
        <source>「%1」が前の区切りより大きくありません。</source>
        <translation>&quot;%1&quot; is not greater than the edge before it.</translation>
    </message>
    <message>
        <source>区切りは 2 個以上の数値で指定してください。</source>
        <translation>Give the bin edges as 2 or more numbers.</translation>
    </message>
    <message>
        <source>区切りは %1 個までです。</source>
        <translation>At most %1 bin edges.</translation>
    </message>
    <message>
        <source>区間平均速度 (km/h)</source>
        <translation>Section average speed (km/h)</translation>
    </message>
    <message>
        <source>区間走行距離 (km)</source>
        <translation>Section distance (km)</translation>
    </message>
    <message>
        <source>区間燃料消費量 (l)</source>
        <translation>Section fuel used (l)</translation>
    </message>
    <message>
        <source>区間燃費 (km/l)</source>
        <translation>Section fuel economy (km/l)</translation>
    </message>
    <message>
        <source>項目</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>最小値</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>現在値1</source>
        <translation>Cursor 1</translation>
    </message>
    <message>
        <source>現在値2</source>
        <translation>Cursor 2</translation>
    </message>
    <message>
        <source>変化量</source>
        <translation>Difference</translation>
    </message>
    <message>
        <source>最大値</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source> (秒)</source>
        <translation> (s)</translation>
    </message>
    <message>
        <source>走行時間</source>
        <translation>Driving time</translation>
    </message>
    <message>
        <source>平均速度</source>
        <translation>Average speed</translation>
    </message>
    <message>
        <source>走行距離</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>燃料消費量</source>
        <translation>Fuel used</translation>
    </message>
    <message>
        <source>燃費</source>
        <translation>Fuel economy</translation>
    </message>
    <message>
        <source>自動: </source>
        <translation>Automatic: </translation>
    </message>
    <message>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <source>スレッドを作成できないため、起動できません。</source>
        <translation>cannot start, since no thread can be created.</translation>
    </message>
    <message>
        <source>開いているファイルが多すぎるため、ウィンドウを表示できません。</source>
        <translation>cannot show the window, since too many files are open.</translation>
    </message>
    <message>
        <source>このログでは使えません: </source>
        <translation>Not usable in this log: </translation>
    </message>
    <message>
        <source>名前が下の計算項目と同じです</source>
        <translation>The name is that of a computed item below.</translation>
    </message>
    <message>
        <source>式がありません</source>
        <translation>The expression is missing.</translation>
    </message>
    <message>
        <source>式が途中で終わっています</source>
        <translation>The expression ends too early.</translation>
    </message>
    <message>
        <source>ここに %1 は置けません</source>
        <translation>%1 cannot stand here.</translation>
    </message>
    <message>
        <source>数 %1 が大きすぎます</source>
        <translation>The number %1 is too large.</translation>
    </message>
    <message>
        <source>] がありません</source>
        <translation>] is missing.</translation>
    </message>
    <message>
        <source>%1 は使えません (比較は == と !=)</source>
        <translation>%1 cannot be used (compare with == and !=).</translation>
    </message>
    <message>
        <source>文字 %1 は使えません</source>
        <translation>The character %1 cannot be used.</translation>
    </message>
    <message>
        <source>%1 がありません</source>
        <translation>%1 is missing.</translation>
    </message>
    <message>
        <source>入れ子が深すぎます (%1段まで)</source>
        <translation>Nested too deeply (up to %1 levels).</translation>
    </message>
    <message>
        <source>項目名がありません</source>
        <translation>The item name is missing.</translation>
    </message>
    <message>
        <source>項目 %1 がありません</source>
        <translation>There is no item %1.</translation>
    </message>
    <message>
        <source>計算項目 %1 は自分自身なので使えません</source>
        <translation>The computed item %1 is this one and cannot be used.</translation>
    </message>
    <message>
        <source>計算項目 %1 はこの計算項目より下にあるので使えません</source>
        <translation>The computed item %1 stands below this one and cannot be used.</translation>
    </message>
    <message>
        <source>瞬間燃費の項目 %1 は計算項目に使えません</source>
        <translation>The fuel economy item %1 cannot be used in computed items.</translation>
    </message>
    <message>
        <source>計算項目 %1 はこのログでは使えません</source>
        <translation>The computed item %1 is not usable in this log.</translation>
    </message>
    <message>
        <source>前のサンプルは [-1] から [-%1] までです</source>
        <translation>Earlier samples go from [-1] to [-%1].</translation>
    </message>
    <message>
        <source>関数 %1 はありません</source>
        <translation>There is no function %1.</translation>
    </message>
    <message>
        <source>名前 %1 はありません (項目は [ ] で囲みます)</source>
        <translation>There is no name %1 (items go in [ ]).</translation>
    </message>
    <message>
        <source>%1 の引数は%2つ以上です</source>
        <translation>%1 takes %2 or more arguments.</translation>
    </message>
    <message>
        <source>%1 の引数は%2つです</source>
        <translation>%1 takes %2 arguments.</translation>
    </message>
    <message>
        <source>式が長すぎます (%1文字まで)</source>
        <translation>The expression is too long (up to %1 characters).</translation>
    </message>
    <message>
        <source>%1文字目: %2</source>
        <translation>Character %1: %2</translation>
    </message>
    <message>
        <source>比較 最小値</source>
        <translation>Ref. minimum</translation>
    </message>
    <message>
        <source>比較 現在値1</source>
        <translation>Ref. cursor 1</translation>
    </message>
    <message>
        <source>比較 現在値2</source>
        <translation>Ref. cursor 2</translation>
    </message>
    <message>
        <source>比較 変化量</source>
        <translation>Ref. difference</translation>
    </message>
    <message>
        <source>比較 最大値</source>
        <translation>Ref. maximum</translation>
    </message>
    <message>
        <source>走行時間</source>
        <comment>narrow column</comment>
        <translation>Time</translation>
    </message>
    <message>
        <source>平均速度</source>
        <comment>narrow column</comment>
        <translation>Avg. speed</translation>
    </message>
    <message>
        <source>走行距離</source>
        <comment>narrow column</comment>
        <translation>Distance</translation>
    </message>
    <message>
        <source>燃料消費量</source>
        <comment>narrow column</comment>
        <translation>Fuel used</translation>
    </message>
    <message>
        <source>燃費</source>
        <comment>narrow column</comment>
        <translation>Economy</translation>
    </message>
</context>
<context>
    <name>dravik::FormulaEditDialog</name>
    <message>
        <source>計算項目の編集</source>
        <translation>Edit computed item</translation>
    </message>
    <message>
        <source>ダブルクリックで式に入れます</source>
        <translation>Double-click to put it into the expression</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>名前:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>式:</source>
        <translation>Expression:</translation>
    </message>
    <message>
        <source>項目:</source>
        <translation>Items:</translation>
    </message>
    <message>
        <source>このログでは使えません: </source>
        <translation>Not usable in this log: </translation>
    </message>
    <message>
        <source>このログで使えます。0になるサンプル: %1</source>
        <translation>Usable in this log. Samples that are 0: %1</translation>
    </message>
    <message>
        <source>使えます。</source>
        <translation>Usable.</translation>
    </message>
</context>
<context>
    <name>dravik::FormulasDialog</name>
    <message>
        <source>計算項目</source>
        <translation>Computed items</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>式</source>
        <translation>Expression</translation>
    </message>
    <message>
        <source>このログ</source>
        <translation>This log</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
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
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>使えます</source>
        <translation>Usable</translation>
    </message>
    <message>
        <source>このログでは使えません: </source>
        <translation>Not usable in this log: </translation>
    </message>
    <message>
        <source>計算項目は%1個までです</source>
        <translation>At most %1 computed items.</translation>
    </message>
</context>
<context>
    <name>dravik::FuelItemsDialog</name>
    <message>
        <source>(自動)</source>
        <translation>(automatic)</translation>
    </message>
    <message>
        <source>(このログにはありません)</source>
        <translation>(not in this log)</translation>
    </message>
    <message>
        <source>燃費計算の項目</source>
        <translation>Fuel economy items</translation>
    </message>
    <message>
        <source>車速:</source>
        <translation>Vehicle speed:</translation>
    </message>
    <message>
        <source>エンジン回転数:</source>
        <translation>Engine speed:</translation>
    </message>
    <message>
        <source>噴射パルス幅:</source>
        <translation>Injector pulse width:</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>dravik::HelpWindow</name>
    <message>
        <source>&lt;p&gt;ヘルプファイルが見つかりません。&lt;/p&gt;&lt;p&gt;%1&lt;/p&gt;</source>
        <translation>&lt;p&gt;The help files were not found.&lt;/p&gt;&lt;p&gt;%1&lt;/p&gt;</translation>
    </message>
    <message>
        <source>プログラムと同じフォルダーの help フォルダー、または ../share/dravik/help にヘルプを置いてください。</source>
        <translation>Put the help into the folder help beside the program, or into ../share/dravik/help.</translation>
    </message>
    <message>
        <source>目次</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>進む</source>
        <translation>Forward</translation>
    </message>
</context>
<context>
    <name>dravik::ItemPanel</name>
    <message>
        <source>表示項目</source>
        <translation>Items</translation>
    </message>
    <message>
        <source>項目の絞り込み:</source>
        <translation>Filter items:</translation>
    </message>
</context>
<context>
    <name>dravik::LoadProgressDialog</name>
    <message>
        <source>ファイルを読み込んでいます...</source>
        <translation>Reading the file...</translation>
    </message>
</context>
<context>
    <name>dravik::MainWindow</name>
    <message>
        <source>設定ファイルを読み込めませんでした。初期設定で起動し、設定ファイルは変更しません。<byte value="xd"/>
%1</source>
        <translation>The settings file could not be read. Dravik starts with the first-start settings and leaves the file as it is.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>設定ファイルが読み取り専用のため、変更は保存されません。<byte value="xd"/>
%1</source>
        <translation>The settings file is read-only, so changes are not saved.<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>設定ファイルを作成できませんでした。設定は保存されません。<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>The settings file could not be created. The settings are not saved.<byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>設定を保存できませんでした。<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>The settings could not be saved.<byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>カラー</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>全てチェック</source>
        <translation>Check all</translation>
    </message>
    <message>
        <source>全てのチェックを外す</source>
        <translation>Uncheck all</translation>
    </message>
    <message>
        <source>散布図/集計表...</source>
        <translation>Scatter plot/table...</translation>
    </message>
    <message>
        <source>csvファイル(*.csv);;ログファイル(*.csv *.txt *.log *.msl *.mlg);;全てのファイル(*.*)</source>
        <translation>CSV files (*.csv);;Log files (*.csv *.txt *.log *.msl *.mlg);;All files (*.*)</translation>
    </message>
    <message>
        <source>計算項目...</source>
        <translation>Computed items...</translation>
    </message>
    <message>
        <source>比較ログを開く...</source>
        <translation>Open reference log...</translation>
    </message>
    <message>
        <source>比較ログを閉じる</source>
        <translation>Close reference log</translation>
    </message>
    <message>
        <source>比較ログの位置合わせ...</source>
        <translation>Align reference log...</translation>
    </message>
    <message>
        <source>先頭で揃える</source>
        <translation>Align the first samples</translation>
    </message>
    <message>
        <source>  [ずれ %1]</source>
        <translation>  [offset %1]</translation>
    </message>
    <message>
        <source>  [比較ログは時間が重なりません]</source>
        <translation>  [the reference log does not overlap in time]</translation>
    </message>
</context>
<context>
    <name>dravik::MaxViewWindow</name>
    <message>
        <source>Dravik - 数値表示</source>
        <translation>Dravik - Numeric display</translation>
    </message>
    <message>
        <source>閉じる(&amp;X)</source>
        <translation>Clo&amp;se</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>区間をCSVで保存...</source>
        <translation>Save section as CSV...</translation>
    </message>
    <message>
        <source>区間が短すぎます。11サンプル以上の区間を選んでください。</source>
        <translation>The section is too short. Choose a section of 11 samples or more.</translation>
    </message>
    <message>
        <source>区間.csv</source>
        <translation>section.csv</translation>
    </message>
    <message>
        <source>csvファイル(*.csv);;全てのファイル(*.*)</source>
        <translation>CSV files (*.csv);;All files (*.*)</translation>
    </message>
</context>
<context>
    <name>dravik::OptionsDialog</name>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>基本設定</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>TIME項目の単位を[ms]から[秒]で表記する</source>
        <translation>Show the time in [s] instead of [ms]</translation>
    </message>
    <message>
        <source>数値表示ウィンドウに区間情報を表示する</source>
        <translation>Show the section figures in the numeric display</translation>
    </message>
    <message>
        <source>表示項目のツールチップを常に有効にする</source>
        <translation>Always show the item names as tooltips</translation>
    </message>
    <message>
        <source>スケーリング方法を旧仕様にする</source>
        <translation>Use the older, coarser scale rounding</translation>
    </message>
    <message>
        <source>燃費関連</source>
        <translation>Fuel economy</translation>
    </message>
    <message>
        <source>インジェクタ容量</source>
        <translation>Injector flow</translation>
    </message>
    <message>
        <source>インジェクタ無効噴射時間</source>
        <translation>Injector latency</translation>
    </message>
    <message>
        <source>シリンダ数</source>
        <translation>Cylinders</translation>
    </message>
    <message>
        <source>燃費計算の項目...</source>
        <translation>Fuel economy items...</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>計算項目...</source>
        <translation>Computed items...</translation>
    </message>
</context>
<context>
    <name>dravik::ReferenceOffsetDialog</name>
    <message>
        <source>比較ログの位置合わせ</source>
        <translation>Align reference log</translation>
    </message>
    <message>
        <source>比較ログのずれ (秒):</source>
        <translation>Offset of the reference log (s):</translation>
    </message>
    <message>
        <source>比較ログのずれ (ms):</source>
        <translation>Offset of the reference log (ms):</translation>
    </message>
    <message>
        <source>数値を入力してください。</source>
        <translation>Please enter a number.</translation>
    </message>
</context>
<context>
    <name>dravik::ScatterView</name>
    <message>
        <source>点の密度 (件数)</source>
        <translation>Density of points (count)</translation>
    </message>
</context>
<context>
    <name>dravik::TripListPanel</name>
    <message>
        <source>走行/燃費情報</source>
        <translation>Trip figures</translation>
    </message>
    <message>
        <source>項目</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>値</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>単位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>走行/燃費情報のコピー</source>
        <translation>Copy the trip figures</translation>
    </message>
    <message>
        <source>比較</source>
        <translation>Ref.</translation>
    </message>
</context>
<context>
    <name>dravik::UserDialog</name>
    <message>
        <source>%1 に保存できませんでした。<byte value="xd"/>
%2</source>
        <translation>Could not save to %1.<byte value="xd"/>
%2</translation>
    </message>
</context>
</TS>
