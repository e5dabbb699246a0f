<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>ConfigHome</name>
    <message>
        <source>%1。設定はプログラムの終了までしか残りません</source>
        <translation>%1; the settings last only until the program ends</translation>
    </message>
    <message>
        <source>設定を置くホームフォルダーがありません</source>
        <translation>no home folder to keep the settings in</translation>
    </message>
    <message>
        <source>フォルダー %1 の名前はこのロケールでは正しくありません</source>
        <translation>the folder %1 has a name that is not valid in this locale</translation>
    </message>
</context>
<context>
    <name>ContextMenu</name>
    <message>
        <source>設定...(&amp;S)</source>
        <translation>&amp;Settings...</translation>
    </message>
    <message>
        <source>時報調整(&amp;T)</source>
        <translation>Set to the &amp;Time Signal</translation>
    </message>
    <message>
        <source>時報を聞いて合わせる(&amp;J)</source>
        <translation>Listen and Ad&amp;just to the Time Signal</translation>
    </message>
    <message>
        <source>常に手前に表示(&amp;A)</source>
        <translation>&amp;Always on Top</translation>
    </message>
    <message>
        <source>ログイン時に起動(&amp;L)</source>
        <translation>Start at &amp;Login</translation>
    </message>
    <message>
        <source>祝日を日曜日の色にする(&amp;H)</source>
        <translation>Colour &amp;Holidays as Sundays</translation>
    </message>
    <message>
        <source>ネットワーク時刻同期(&amp;N)</source>
        <translation>&amp;Network Time Sync</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>ログイン時の起動を設定できませんでした。</source>
        <translation>Could not set the clock to start at login.</translation>
    </message>
    <message>
        <source>ログイン時の起動を解除できませんでした。</source>
        <translation>Could not stop the clock starting at login.</translation>
    </message>
    <message>
        <source>理由: %1</source>
        <translation>Reason: %1</translation>
    </message>
    <message>
        <source>ホームフォルダーがないため、書き込む場所がありません</source>
        <translation>there is no home folder to write the entry in</translation>
    </message>
    <message>
        <source>プログラムのパスが UTF-8 でないため、起動エントリーに書けません</source>
        <translation>the program&apos;s path is not valid UTF-8, so no start entry can name it</translation>
    </message>
    <message>
        <source>既存のエントリーを読めません</source>
        <translation>the existing entry cannot be read</translation>
    </message>
    <message>
        <source>毎正時に時報を聞く(&amp;E)</source>
        <translation>Listen to the Signal Ev&amp;ery Hour</translation>
    </message>
    <message>
        <source>時計の記録(&amp;R)</source>
        <translation>Clock &amp;Record</translation>
    </message>
</context>
<context>
    <name>DriftPlot</name>
    <message>
        <source>時計のずれのグラフ</source>
        <translation>Graph of the clock&apos;s error</translation>
    </message>
    <message>
        <source>%1 から今までの測定 %2 回と、この先 1 日の見積もり</source>
        <translation>%2 measurements from %1 until now, and the estimate for the next day</translation>
    </message>
    <message>
        <source>（秒、進みが正）</source>
        <translation>(seconds, fast is positive)</translation>
    </message>
    <message>
        <source>今 %1</source>
        <translation>now %1</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>日曜日</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>月曜日</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>火曜日</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>水曜日</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>木曜日</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>金曜日</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>土曜日</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>%1年%2月%3日 %4 </source>
        <translation>%4, %1-%2-%3, </translation>
    </message>
    <message>
        <source>テレホーダイ終了まで %1時間%2分%3秒</source>
        <translation>%1 h %2 min %3 s until Telehodai ends</translation>
    </message>
    <message>
        <source>%1時%2分%3秒</source>
        <translation>%1:%2:%3</translation>
    </message>
    <message>
        <source>毎正時の時報を聞いています</source>
        <translation>Listening for the hourly time signal</translation>
    </message>
    <message>
        <source>設定を開く</source>
        <translation>Open the settings</translation>
    </message>
    <message>
        <source>時報調整（表示中の分に時刻を合わせる）</source>
        <translation>Time signal adjustment (set the clock to the minute shown)</translation>
    </message>
</context>
<context>
    <name>ListenBox</name>
    <message>
        <source>時報を聞いて合わせる</source>
        <translation>Listen to the Time Signal</translation>
    </message>
    <message>
        <source>時報を聞いています。ラジオをマイクの近くに置いてください。</source>
        <translation>Listening for the time signal. Put the radio near the microphone.</translation>
    </message>
    <message>
        <source>入力レベル</source>
        <translation>Input level</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>時刻を合わせました。</source>
        <translation>The clock has been set.</translation>
    </message>
    <message>
        <source>時刻を合わせられませんでした。時刻は変わっていません。</source>
        <translation>The clock could not be set. The time has not changed.</translation>
    </message>
    <message>
        <source>ネットワーク時刻同期をオフにしなかったので、時刻は変わっていません。</source>
        <translation>Network time sync was left on, so the time has not changed.</translation>
    </message>
    <message>
        <source>残り %1 秒</source>
        <translation>%1 s left</translation>
    </message>
    <message>
        <source>時刻を合わせています…</source>
        <translation>Setting the clock…</translation>
    </message>
    <message>
        <source>時刻は変わっていません。</source>
        <translation>The time has not changed.</translation>
    </message>
    <message>
        <source>%1 秒のあいだに時報を聞き取れませんでした。</source>
        <translation>No time signal was heard in %1 s.</translation>
    </message>
    <message>
        <source>入力の音がほとんどありませんでした。マイクがミュートになっていないか、ラジオから遠すぎないか確かめてください。</source>
        <translation>Almost no sound came in. Check that the microphone is not muted and not too far from the radio.</translation>
    </message>
    <message>
        <source>音声サーバー（PulseAudio か PipeWire）に接続できません（%1）。</source>
        <translation>Cannot connect to the sound server (PulseAudio or PipeWire): %1.</translation>
    </message>
    <message>
        <source>音声の入力装置がありません。</source>
        <translation>There is no sound input device.</translation>
    </message>
    <message>
        <source>録音を始められません（%1）。</source>
        <translation>Cannot start recording: %1.</translation>
    </message>
    <message>
        <source>入力装置のサンプリング周波数（%1 Hz）では時報を聞き取れません。</source>
        <translation>The time signal cannot be heard at the input&apos;s sample rate (%1 Hz).</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>時計は合っていました。</source>
        <translation>The clock was right.</translation>
    </message>
    <message>
        <source>時計は %1 秒進んでいました。</source>
        <translation>The clock was %1 s ahead.</translation>
    </message>
    <message>
        <source>時計は %1 秒遅れていました。</source>
        <translation>The clock was %1 s behind.</translation>
    </message>
</context>
<context>
    <name>RecordWindow</name>
    <message>
        <source>時計の記録</source>
        <translation>Clock Record</translation>
    </message>
    <message>
        <source>最近の記録</source>
        <translation>Recent events</translation>
    </message>
    <message>
        <source>日時</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>測り方</source>
        <translation>Measured by</translation>
    </message>
    <message>
        <source>ずれ（秒）</source>
        <translation>Offset (s)</translation>
    </message>
    <message>
        <source>修正（秒）</source>
        <translation>Shift (s)</translation>
    </message>
    <message>
        <source>結果</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>見積もりで合わせる</source>
        <translation>Set by the Estimate</translation>
    </message>
    <message>
        <source>いまの見積もり: %1 秒（±%2 秒）</source>
        <translation>Estimated offset now: %1 s (±%2 s)</translation>
    </message>
    <message>
        <source>いまの見積もり: まだありません</source>
        <translation>Estimated offset now: none yet</translation>
    </message>
    <message>
        <source>測定はまだありません</source>
        <translation>No measurement yet</translation>
    </message>
    <message>
        <source>時刻を合わせられませんでした。時刻は変わっていません。</source>
        <translation>The clock could not be set. The time has not changed.</translation>
    </message>
    <message>
        <source>見積もりで %1 秒合わせました。</source>
        <translation>Shifted the clock by %1 s, as estimated.</translation>
    </message>
    <message>
        <source>進み遅れの見積もりには、6時間以上離れた2回以上の測定が要ります。</source>
        <translation>A drift estimate needs at least two measurements six hours or more apart.</translation>
    </message>
    <message>
        <source>1日に %1 秒進みます（±%2 秒）</source>
        <translation>Gains %1 s a day (±%2 s)</translation>
    </message>
    <message>
        <source>1日に %1 秒遅れます（±%2 秒）</source>
        <translation>Loses %1 s a day (±%2 s)</translation>
    </message>
    <message>
        <source>最後の測定: %1 %2、ずれ %3 秒（%4）</source>
        <translation>Last measurement: %1 %2, offset %3 s (%4)</translation>
    </message>
    <message>
        <source>合わせました</source>
        <translation>set</translation>
    </message>
    <message>
        <source>合わせられませんでした</source>
        <translation>could not be set</translation>
    </message>
    <message>
        <source>認証が要るため合わせていません</source>
        <translation>not set: authorisation needed</translation>
    </message>
    <message>
        <source>ネットワーク時刻同期が有効なので測っただけです</source>
        <translation>measured only: network time sync is on</translation>
    </message>
    <message>
        <source>0.2 秒未満なので合わせていません</source>
        <translation>not set: under 0.2 s</translation>
    </message>
    <message>
        <source>毎正時</source>
        <translation>hourly</translation>
    </message>
    <message>
        <source>時報を聞いて</source>
        <translation>listening</translation>
    </message>
    <message>
        <source>見積もり</source>
        <translation>estimate</translation>
    </message>
    <message>
        <source>、最後の測定は %1</source>
        <translation>, last measured %1</translation>
    </message>
    <message>
        <source>60 秒を超える見積もりは記録が壊れているしるしなので、これでは合わせません。</source>
        <translation>An estimate beyond 60 s is the sign of a broken record, so the clock is not set by it.</translation>
    </message>
    <message numerus="yes">
        <source>%n 分前</source>
        <translation>
            <numerusform>%n minute ago</numerusform>
            <numerusform>%n minutes ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 時間前</source>
        <translation>
            <numerusform>%n hour ago</numerusform>
            <numerusform>%n hours ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 日前</source>
        <translation>
            <numerusform>%n day ago</numerusform>
            <numerusform>%n days ago</numerusform>
        </translation>
    </message>
    <message>
        <source>記録の予測から遠すぎるので合わせていません</source>
        <translation>not set: too far from what the record predicts</translation>
    </message>
    <message>
        <source>時報調整機能がオフなので測っただけです</source>
        <translation>measured only: the time-signal adjustment is off</translation>
    </message>
    <message>
        <source>手で（測定でない）</source>
        <translation>by hand (no measurement)</translation>
    </message>
    <message>
        <source>見積もりで自動的に合わせる</source>
        <translation>Set by the estimate automatically</translation>
    </message>
    <message>
        <source>時報が聞こえないあいだも、見積もりのずれが 0.05 秒に達するたびに合わせます。毎正時に時報を聞くときだけ使えます。</source>
        <translation>Between heard signals, the clock is set whenever the estimated error reaches 0.05 s. Only while listening every hour.</translation>
    </message>
    <message>
        <source>自動では合わせていません: 1 日以上にわたる測定と、±0.02 秒以内の見積もりが要ります（ネットワーク時刻同期がオフで、時報調整機能がオンのときだけ合わせます）。</source>
        <translation>Not setting automatically: it needs measurements over a day or more and an estimate within ±0.02 s (and only with network time sync off and the time-signal adjustment on).</translation>
    </message>
    <message>
        <source>時報のあいだも見積もりで合わせています。</source>
        <translation>Setting the clock by the estimate between signals.</translation>
    </message>
    <message>
        <source>見積もりが 1 回に 1 秒を超えるずれを求めたので、自動で合わせるのをやめました。見積もりが外れています。次に時報が聞こえたら再開します。</source>
        <translation>Stopped setting automatically: the estimate asked for more than 1 s at once, so it is wrong. It starts again when the signal is next heard.</translation>
    </message>
    <message>
        <source>時報で</source>
        <translation>by the signal</translation>
    </message>
    <message>
        <source>見積もりで</source>
        <translation>by the estimate</translation>
    </message>
    <message>
        <source>手で</source>
        <translation>by hand</translation>
    </message>
    <message>
        <source>最後に合わせたのは %1（%2）</source>
        <translation>Last set %1 (%2)</translation>
    </message>
    <message>
        <source>合わせた</source>
        <translation>set</translation>
    </message>
    <message>
        <source>拒否</source>
        <translation>refused</translation>
    </message>
    <message>
        <source>認証待ち</source>
        <translation>needs authorisation</translation>
    </message>
    <message>
        <source>同期中</source>
        <translation>sync on</translation>
    </message>
    <message>
        <source>0.2 秒未満</source>
        <translation>under 0.2 s</translation>
    </message>
    <message>
        <source>疑わしい</source>
        <translation>implausible</translation>
    </message>
    <message>
        <source>調整オフ</source>
        <translation>adjustment off</translation>
    </message>
    <message>
        <source>「秒」</source>
        <translation>click on 秒</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>%1 はどこにも通じないリンクです(%2)</source>
        <translation>%1 is a link to nothing (%2)</translation>
    </message>
    <message>
        <source>%1 は通常のファイルではありません</source>
        <translation>%1 is not a regular file</translation>
    </message>
    <message>
        <source>%1 は別のユーザーのものです</source>
        <translation>%1 belongs to another user</translation>
    </message>
    <message>
        <source>%1 は読み取り専用です</source>
        <translation>%1 is read-only</translation>
    </message>
    <message>
        <source>%1 は別のユーザーのフォルダーへのリンクです</source>
        <translation>%1 is a link to a folder of another user</translation>
    </message>
    <message>
        <source>フォルダー %1 を作れません: %2</source>
        <translation>cannot make the folder %1: %2</translation>
    </message>
    <message>
        <source>ロックファイル %1 を開けません: %2</source>
        <translation>cannot open the lock file %1: %2</translation>
    </message>
    <message>
        <source>ロックファイル %1 は通常のファイルではありません</source>
        <translation>the lock file %1 is not a regular file</translation>
    </message>
    <message>
        <source>%1 をロックできません: %2</source>
        <translation>cannot lock %1: %2</translation>
    </message>
    <message>
        <source>別のプログラムがロック %1 を %2 ミリ秒を超えて持っています</source>
        <translation>another program has held the lock %1 for more than %2 ms</translation>
    </message>
    <message>
        <source>%1 に書き込めません: %2</source>
        <translation>cannot write in %1: %2</translation>
    </message>
    <message>
        <source>アクセスが許可されていません</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>操作が許可されていません</source>
        <translation>Operation not permitted</translation>
    </message>
    <message>
        <source>空き容量がありません</source>
        <translation>No space left on device</translation>
    </message>
    <message>
        <source>ディスク使用量の制限を超えています</source>
        <translation>Disk quota exceeded</translation>
    </message>
    <message>
        <source>読み取り専用のファイルシステムです</source>
        <translation>Read-only file system</translation>
    </message>
    <message>
        <source>そのようなファイルやフォルダーはありません</source>
        <translation>No such file or directory</translation>
    </message>
    <message>
        <source>フォルダーではありません</source>
        <translation>Not a directory</translation>
    </message>
    <message>
        <source>フォルダーです</source>
        <translation>Is a directory</translation>
    </message>
    <message>
        <source>入出力エラーです</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <source>使用中です</source>
        <translation>Device or resource busy</translation>
    </message>
    <message>
        <source>リンクをたどりきれません</source>
        <translation>Too many levels of symbolic links</translation>
    </message>
    <message>
        <source>名前が長すぎます</source>
        <translation>File name too long</translation>
    </message>
    <message>
        <source>すでにあります</source>
        <translation>File exists</translation>
    </message>
    <message>
        <source>いまは使えません</source>
        <translation>Resource temporarily unavailable</translation>
    </message>
    <message>
        <source>引数が正しくありません</source>
        <translation>Invalid argument</translation>
    </message>
    <message>
        <source>別のファイルシステムにまたがります</source>
        <translation>Invalid cross-device link</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>読めませんでした: %1</source>
        <translation>it could not be read: %1</translation>
    </message>
    <message>
        <source>%1 の設定を読めません(%2)。既定値で動き、ファイルは終了までそのままにします</source>
        <translation>cannot read the settings in %1 (%2); running on the defaults, and the file is left as it is until the program ends</translation>
    </message>
    <message>
        <source>設定フォルダーがありません</source>
        <translation>there is no configuration folder</translation>
    </message>
    <message>
        <source>%1 回試みて、そのたびにファイルが変わっていました</source>
        <translation>the file changed at every one of %1 attempts</translation>
    </message>
    <message>
        <source>%1 に設定を保存できません(%2)。変更は終了までしか残りません</source>
        <translation>cannot save the settings to %1 (%2); changes last only until the program ends</translation>
    </message>
    <message>
        <source>「%1」は 0 でも 1 でもありません</source>
        <translation>holds &quot;%1&quot;, which is neither 0 nor 1</translation>
    </message>
    <message>
        <source>そのまま読みます</source>
        <translation>read as it is</translation>
    </message>
    <message>
        <source>「%1」を使います</source>
        <translation>using &quot;%1&quot;</translation>
    </message>
    <message>
        <source>変えずにおきます</source>
        <translation>left unchanged</translation>
    </message>
    <message>
        <source>「%1」は正しい値ではありません</source>
        <translation>holds &quot;%1&quot;, which is not a valid value</translation>
    </message>
    <message>
        <source>値がありません</source>
        <translation>is missing</translation>
    </message>
    <message>
        <source>[%1] %2: %3。%4</source>
        <translation>[%1] %2 %3; %4</translation>
    </message>
    <message>
        <source>[%1] %2: %3。「%4」を書きます</source>
        <translation>[%1] %2 %3; writing &quot;%4&quot;</translation>
    </message>
</context>
<context>
    <name>TimeRecord</name>
    <message>
        <source>%1 に記録を書き足せません(%2)</source>
        <translation>cannot add to the record %1 (%2)</translation>
    </message>
    <message>
        <source>%1 の %2 行を読めないので飛ばします</source>
        <translation>skipping %2 lines of %1 that cannot be read</translation>
    </message>
</context>
<context>
    <name>TimeSignalPrompts</name>
    <message>
        <source>このシステムはネットワーク時刻同期で時刻を自動的に合わせています。時報で合わせるには、先に自動時刻同期をオフにしてください。</source>
        <translation>This system sets its time automatically by network time sync. To set it to the time signal, switch automatic sync off first.</translation>
    </message>
    <message>
        <source>時刻を変更する権限が認められませんでした（認証が拒否されたか、取り消されました）。</source>
        <translation>Permission to change the time was not granted (authentication was refused or cancelled).</translation>
    </message>
    <message>
        <source>時刻を設定するサービス（systemd-timedated）がシステムバス上に見つかりません。</source>
        <translation>The service that sets the time (systemd-timedated) is not on the system bus.</translation>
    </message>
    <message>
        <source>時刻を設定するサービスから時間内に応答がありませんでした。</source>
        <translation>The service that sets the time did not answer in time.</translation>
    </message>
    <message>
        <source>システムからのメッセージ: %1</source>
        <translation>The system says: %1</translation>
    </message>
    <message>
        <source>このシステムはネットワーク時刻同期で時刻を自動的に合わせています。

時報で合わせると、ネットワーク時刻同期はオフになります。あとでメニューの「ネットワーク時刻同期」から戻せます。</source>
        <translation>This system sets its time automatically by network time sync.

Setting it to the time signal switches network time sync off. You can switch it back on later with &quot;Network Time Sync&quot; in the menu.</translation>
    </message>
    <message>
        <source>自動同期をオフにして合わせる</source>
        <translation>Switch Sync Off and Set</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>システムの時刻を %1 に合わせられませんでした。</source>
        <translation>Could not set the system clock to %1.</translation>
    </message>
    <message>
        <source>この後で認証されれば、時刻はそのときに合わせられます。</source>
        <translation>If authentication still comes, the clock will be set then.</translation>
    </message>
    <message>
        <source>ネットワーク時刻同期はオフになっています。メニューの「ネットワーク時刻同期」から戻せます。</source>
        <translation>Network time sync is now off. You can switch it back on with &quot;Network Time Sync&quot; in the menu.</translation>
    </message>
    <message>
        <source>ネットワーク時刻同期をオンにできませんでした。</source>
        <translation>Could not switch network time sync on.</translation>
    </message>
    <message>
        <source>ネットワーク時刻同期をオフにできませんでした。</source>
        <translation>Could not switch network time sync off.</translation>
    </message>
    <message>
        <source>この後で認証されれば、ネットワーク時刻同期はそのときにオンになりますが、時刻は合わせられません。</source>
        <translation>If authentication still comes, network time sync will be switched on then, but the clock will not be set.</translation>
    </message>
    <message>
        <source>この後で認証されれば、ネットワーク時刻同期はそのときにオフになりますが、時刻は合わせられません。</source>
        <translation>If authentication still comes, network time sync will be switched off then, but the clock will not be set.</translation>
    </message>
    <message>
        <source>時報調整</source>
        <translation>Time Signal</translation>
    </message>
    <message>
        <source>前の時刻合わせがまだ終わっていません。時刻は変わっていません。</source>
        <translation>The previous change of the time has not finished yet. The time was not changed.</translation>
    </message>
    <message>
        <source>時報調整機能がオフなので、時刻は変わっていません。</source>
        <translation>The time-signal adjustment is switched off, so the time was not changed.</translation>
    </message>
    <message>
        <source>見積もりがまだないので、時刻は変わっていません。</source>
        <translation>There is no estimate yet, so the time was not changed.</translation>
    </message>
    <message>
        <source>見積もりが 60 秒を超えています。記録が壊れているおそれがあるので、時刻は変わっていません。</source>
        <translation>The estimate is beyond 60 s, which means the record may be broken, so the time was not changed.</translation>
    </message>
</context>
<context>
    <name>Translations</name>
    <message>
        <source>Qt の日本語の訳（qtbase_ja.qm）が %1 にありません。Qt のダイアログとボタンは英語のままです</source>
        <translation>Qt&apos;s Japanese texts (qtbase_ja.qm) are not in %1; Qt&apos;s own dialogs and buttons stay in English</translation>
    </message>
</context>
<context>
    <name>WallAlarm</name>
    <message>
        <source>時計の変化を見張れません(%1)</source>
        <translation>cannot watch for changes of the clock (%1)</translation>
    </message>
</context>
<context>
    <name>Warning</name>
    <message>
        <source>設定の保存</source>
        <translation>Saving the Settings</translation>
    </message>
    <message>
        <source>設定をファイルに保存できませんでした。

保存先: %1
理由: %2

変更した設定は、このプログラムを終了するまで有効です。</source>
        <translation>The settings could not be saved to their file.

File: %1
Reason: %2

The changed settings hold until the program ends.</translation>
    </message>
</context>
<context>
    <name>holidays</name>
    <message>
        <source>元日</source>
        <translation>New Year&apos;s Day</translation>
    </message>
    <message>
        <source>成人の日</source>
        <translation>Coming of Age Day</translation>
    </message>
    <message>
        <source>建国記念の日</source>
        <translation>National Foundation Day</translation>
    </message>
    <message>
        <source>天皇誕生日</source>
        <translation>The Emperor&apos;s Birthday</translation>
    </message>
    <message>
        <source>みどりの日</source>
        <translation>Greenery Day</translation>
    </message>
    <message>
        <source>昭和の日</source>
        <translation>Shōwa Day</translation>
    </message>
    <message>
        <source>天皇の即位の日</source>
        <translation>The Emperor&apos;s Enthronement Day</translation>
    </message>
    <message>
        <source>憲法記念日</source>
        <translation>Constitution Memorial Day</translation>
    </message>
    <message>
        <source>こどもの日</source>
        <translation>Children&apos;s Day</translation>
    </message>
    <message>
        <source>海の日</source>
        <translation>Marine Day</translation>
    </message>
    <message>
        <source>スポーツの日</source>
        <translation>Sports Day</translation>
    </message>
    <message>
        <source>山の日</source>
        <translation>Mountain Day</translation>
    </message>
    <message>
        <source>敬老の日</source>
        <translation>Respect for the Aged Day</translation>
    </message>
    <message>
        <source>秋分の日</source>
        <translation>Autumnal Equinox Day</translation>
    </message>
    <message>
        <source>即位礼正殿の儀</source>
        <translation>Enthronement Ceremony</translation>
    </message>
    <message>
        <source>体育の日</source>
        <translation>Health and Sports Day</translation>
    </message>
    <message>
        <source>文化の日</source>
        <translation>Culture Day</translation>
    </message>
    <message>
        <source>勤労感謝の日</source>
        <translation>Labour Thanksgiving Day</translation>
    </message>
    <message>
        <source>春分の日</source>
        <translation>Vernal Equinox Day</translation>
    </message>
    <message>
        <source>結婚の儀</source>
        <translation>Imperial Wedding</translation>
    </message>
    <message>
        <source>振替休日</source>
        <translation>Substitute Holiday</translation>
    </message>
    <message>
        <source>国民の休日</source>
        <translation>Citizens&apos; Holiday</translation>
    </message>
</context>
</TS>
