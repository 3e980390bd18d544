<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="kk" sourcelanguage="zh_CN">
<context>
    <name>Tavlin</name>
    <message>
        <source>关于 Tavlin(&amp;A)...</source>
        <translation>Tavlin &amp;туралы...</translation>
    </message>
    <message>
        <source>正在调节曝光参数，请稍候……
</source>
        <translation>Экспозиция параметрлері реттелуде, күте тұрыңыз...
</translation>
    </message>
    <message>
        <source>设备检测完成。
</source>
        <translation>Құрылғыны анықтау аяқталды.
</translation>
    </message>
    <message>
        <source>未检测到相应设备，请确认连接情况。
</source>
        <translation>Тиісті құрылғы анықталмады. Қосылымды тексеріңіз.
</translation>
    </message>
    <message>
        <source>正在检测设备，请稍候...
</source>
        <translation>Құрылғы анықталуда, күте тұрыңыз...
</translation>
    </message>
    <message>
        <source>曝光调节结束，当前光学参数为:%d，%d，%d;

0x%02x，0x%02x。
</source>
        <translation>Экспозицияны реттеу аяқталды. Ағымдағы оптикалық параметрлер: %d, %d, %d;

0x%02x, 0x%02x.
</translation>
    </message>
    <message>
        <source>正在搜索最佳起始行、起止列，请稍候.....
</source>
        <translation>Ең қолайлы бастапқы жол мен бастапқы және соңғы бағандар ізделуде, күте тұрыңыз...
</translation>
    </message>
    <message>
        <source>设备已拔出,请点击"Esc"退出调平.
</source>
        <translation>Құрылғы ажыратылды. Деңгейлеуден шығу үшін "Esc" пернесін басыңыз.
</translation>
    </message>
    <message>
        <source>标定模式</source>
        <translation>Калибрлеу режимі</translation>
    </message>
    <message>
        <source>工作模式</source>
        <translation>Жұмыс режимі</translation>
    </message>
    <message>
        <source>确定所用图像行成功！当前光学参数为:%d，%d，%d

下面请进行曝光调节。
</source>
        <translation>Пайдаланылатын кескін жолдары сәтті анықталды! Ағымдағы оптикалық параметрлер: %d, %d, %d

Енді экспозицияны реттеңіз.
</translation>
    </message>
    <message>
        <source>调平提示：
首先调节起始行使亮区处于显示区(自动)；
如果提示图像行选取失败，请调节光学模组水平及角度直至选取成功(调节后，按空格键显示图像)；
然后进行曝光调节；
最后确定退出。
</source>
        <translation>Деңгейлеу бойынша кеңес:
Алдымен жарық аймақ көрсету аймағына түсетіндей етіп бастапқы жолды реттеңіз (автоматты түрде);
егер кескін жолдарын таңдау сәтсіз болғаны туралы хабар шықса, таңдау сәтті болғанша оптикалық модульдің көлденеңдігі мен бұрышын реттеңіз (реттегеннен кейін кескінді көрсету үшін бос орын пернесін басыңыз);
содан кейін экспозицияны реттеңіз;
соңында растап, шығыңыз.
</translation>
    </message>
    <message>
        <source>正在初始化设备，请稍候...</source>
        <translation>Құрылғы инициализациялануда, күте тұрыңыз...</translation>
    </message>
    <message>
        <source>请先调节曝光参数！
</source>
        <translation>Алдымен экспозиция параметрлерін реттеңіз!
</translation>
    </message>
    <message>
        <source>请先转化为标定模式，再进行标定！
</source>
        <translation>Калибрлеу алдында калибрлеу режиміне ауысыңыз!
</translation>
    </message>
    <message>
        <source>当前模式为工作模式！
</source>
        <translation>Ағымдағы режим — жұмыс режимі!
</translation>
    </message>
    <message>
        <source>当前模式为标定模式！
</source>
        <translation>Ағымдағы режим — калибрлеу режимі!
</translation>
    </message>
    <message>
        <source>模式转换失败，请重新尝试！
</source>
        <translation>Режимді ауыстыру сәтсіз аяқталды, қайталап көріңіз!
</translation>
    </message>
    <message>
        <source>起始行查找失败，请先退出，重新调平!
</source>
        <translation>Бастапқы жолды іздеу сәтсіз аяқталды. Шығып, қайта деңгейлеңіз!
</translation>
    </message>
    <message>
        <source>起始行配置失败，请先退出，重新调平!
</source>
        <translation>Бастапқы жолды баптау сәтсіз аяқталды. Шығып, қайта деңгейлеңіз!
</translation>
    </message>
    <message>
        <source>起止列查找失败，请先退出，重新调平!
</source>
        <translation>Бастапқы және соңғы бағандарды іздеу сәтсіз аяқталды. Шығып, қайта деңгейлеңіз!
</translation>
    </message>
    <message>
        <source>拼行失败，请先退出，重新调平!
</source>
        <translation>Жолдарды біріктіру сәтсіз аяқталды. Шығып, қайта деңгейлеңіз!
</translation>
    </message>
    <message>
        <source>获取 IMAGE Version 失败!
</source>
        <translation>IMAGE нұсқасын алу сәтсіз аяқталды!
</translation>
    </message>
    <message>
        <source>曝光调节失败，请重新调节。
</source>
        <translation>Экспозицияны реттеу сәтсіз аяқталды. Қайта реттеңіз.
</translation>
    </message>
    <message>
        <source>环境准备完毕，请选择配置文件进行更新！
</source>
        <translation>Орта дайын. Жаңарту үшін конфигурация файлын таңдаңыз!
</translation>
    </message>
    <message>
        <source>环境配置失败，请退出重试!
</source>
        <translation>Ортаны баптау сәтсіз аяқталды. Шығып, қайталап көріңіз!
</translation>
    </message>
    <message>
        <source>设备未准备好，请先更新固件.
</source>
        <translation>Құрылғы дайын емес. Алдымен микробағдарламаны жаңартыңыз.
</translation>
    </message>
    <message>
        <source>已找到设备，但当前用户无权打开它。请安装软件包中的 udev 规则，然后重新插拔设备。
</source>
        <translation>Құрылғы табылды, бірақ пайдаланушыда оған рұқсат жоқ. Пакеттегі udev ережелерін орнатып, оны қайта қосыңыз.
</translation>
    </message>
    <message>
        <source>Master: </source>
        <translation>Негізгі: </translation>
    </message>
    <message>
        <source>Slave: </source>
        <translation>Қосалқы: </translation>
    </message>
    <message>
        <source>无法写入日志文件夹 %s（%s）。
</source>
        <translation>Журнал қалтасына %s жазу мүмкін емес (%s).
</translation>
    </message>
    <message>
        <source>日志文件 %s 不完整：部分记录未能写入。
</source>
        <translation>%s журналы толық емес: кейбір жазбалар жазылмады.
</translation>
    </message>
    <message>
        <source>设备已被其他程序占用，或当前用户无权打开它。请关闭使用该设备的其他程序，或申请打开它的权限。
</source>
        <translation>Құрылғыны басқа бағдарлама пайдаланып жатыр немесе пайдаланушының оны ашуға құқығы жоқ. Ол бағдарламаны жабыңыз немесе құрылғыны ашуға құқық сұраңыз.
</translation>
    </message>
    <message>
        <source>Tavlin 0.98</source>
        <translation>Tavlin 0.98</translation>
    </message>
    <message>
        <source>静态</source>
        <translation>Статикалық</translation>
    </message>
    <message>
        <source>调平</source>
        <translation>Деңгейлеу</translation>
    </message>
    <message>
        <source>标定</source>
        <translation>Калибрлеу</translation>
    </message>
    <message>
        <source>更新固件</source>
        <translation>Микробағдарламаны жаңарту</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Шығу</translation>
    </message>
    <message>
        <source>Switch: </source>
        <translation>Ауыстыру: </translation>
    </message>
    <message>
        <source>FPGA 下载:</source>
        <translation>FPGA жүктеу:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>download</source>
        <translation>жүктеу</translation>
    </message>
    <message>
        <source>SCRIPT:</source>
        <translation>СКРИПТ:</translation>
    </message>
    <message>
        <source>runscript</source>
        <translation>скриптті орындау</translation>
    </message>
    <message>
        <source>Step Debug</source>
        <translation>Қадамдық жөндеу</translation>
    </message>
    <message>
        <source>Reg Addr(HEX)</source>
        <translation>Регистр мекенжайы (HEX)</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Мән</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Сенсор</translation>
    </message>
    <message>
        <source>Slave</source>
        <translation>Бағынышты</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Жазу</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Оқу</translation>
    </message>
    <message>
        <source>client adjust</source>
        <translation>клиенттік реттеу</translation>
    </message>
    <message>
        <source>client calibration</source>
        <translation>клиенттік калибрлеу</translation>
    </message>
    <message>
        <source>FW版本</source>
        <translation>Микробағдарлама нұсқасы</translation>
    </message>
    <message>
        <source>clear</source>
        <translation>тазалау</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Жүктеу</translation>
    </message>
    <message>
        <source>脚本</source>
        <translation>Скрипт</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Алдын ала қарау</translation>
    </message>
    <message>
        <source>关于 Tavlin</source>
        <translation>Tavlin туралы</translation>
    </message>
    <message>
        <source>Tavlin，1.0 版</source>
        <translation>Tavlin, 1.0 нұсқасы</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Бас тарту</translation>
    </message>
    <message>
        <source>ini Files(*.bin)|*.bin|all Files(*.*)|*.*||</source>
        <translation>BIN файлдары (*.bin)|*.bin|Барлық файлдар (*.*)|*.*||</translation>
    </message>
    <message>
        <source>ini Files(*.ini)|*.ini|all Files(*.*)|*.*||</source>
        <translation>INI файлдары (*.ini)|*.ini|Барлық файлдар (*.*)|*.*||</translation>
    </message>
    <message>
        <source>运行记录</source>
        <translation>Іске қосу жазбалары</translation>
    </message>
    <message>
        <source>端口：</source>
        <translation>Порт:</translation>
    </message>
    <message>
        <source>全部端口</source>
        <translation>Барлық порттар</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Уақыт</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>порт</translation>
    </message>
    <message>
        <source>命令</source>
        <translation>Команда</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Нәтиже</translation>
    </message>
    <message>
        <source>退出状态</source>
        <translation>Шығу коды</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Оператор</translation>
    </message>
    <message>
        <source>批次</source>
        <translation>Партия</translation>
    </message>
    <message>
        <source>运行后的版本</source>
        <translation>Кейінгі нұсқалар</translation>
    </message>
    <message>
        <source>无法读取运行记录数据库 %s：%s</source>
        <translation>іске қосу жазбаларының дерекқорын %s оқу мүмкін емес: %s</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Жабу</translation>
    </message>
    <message>
        <source>日志文件 %s 不是普通文件</source>
        <translation>%s журнал файлы кәдімгі файл емес</translation>
    </message>
    <message>
        <source>%s 不是普通文件</source>
        <translation>%s кәдімгі файл емес</translation>
    </message>
    <message>
        <source>意外错误，运行已结束：%s</source>
        <translation>күтпеген қате, жұмыс аяқталды: %s</translation>
    </message>
    <message>
        <source>标定已完成。按空格键检查标定，按Esc退出。
</source>
        <translation>Калибрлеу аяқталды. Калибрлеуді тексеру үшін Бос орын пернесін, шығу үшін Esc пернесін басыңыз.
</translation>
    </message>
    <message>
        <source>按空格键检查标定，按Esc退出。
</source>
        <translation>Калибрлеуді тексеру үшін Бос орын пернесін, шығу үшін Esc пернесін басыңыз.
</translation>
    </message>
    <message>
        <source>请用触摸笔点击十字星中心（检查点 %d/%d）。按Esc退出。
</source>
        <translation>Стилуспен айқыштың ортасына тигізіңіз (бақылау нүктесі %d/%d). Шығу үшін Esc пернесін басыңыз.
</translation>
    </message>
    <message>
        <source>触摸位置离十字星太远，请重新点击（检查点 %d/%d）。
</source>
        <translation>Жанасу айқыштан тым алыс болды. Оған қайта тигізіңіз (бақылау нүктесі %d/%d).
</translation>
    </message>
    <message>
        <source>屏幕太小，无法在距边缘至少10毫米处放置检查点。按Esc退出。
</source>
        <translation>Экран тым кіші: шеттерден 10 мм қалатын бақылау нүктелеріне орын жоқ. Шығу үшін Esc пернесін басыңыз.
</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>ЖАРАМДЫ</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>ЖАРАМСЫЗ</translation>
    </message>
    <message>
        <source>无法判定</source>
        <translation>ҚОРЫТЫНДЫ ЖОҚ</translation>
    </message>
    <message>
        <source>允许误差 %.1f 毫米，误差向量放大10倍显示。</source>
        <translation>Рұқсат етілген қате %.1f мм; қате векторлары 10 есе ұзын көрсетілген.</translation>
    </message>
    <message>
        <source>系统未提供屏幕的物理尺寸，误差只能以像素表示。</source>
        <translation>Жүйе экранның физикалық өлшемін бермейді: қателер тек пиксельмен көрсетілген.</translation>
    </message>
    <message>
        <source>检查点</source>
        <translation>Нүкте</translation>
    </message>
    <message>
        <source>误差（像素）</source>
        <translation>Қате (пиксель)</translation>
    </message>
    <message>
        <source>误差（毫米）</source>
        <translation>Қате (мм)</translation>
    </message>
    <message>
        <source>输入</source>
        <translation>Енгізу</translation>
    </message>
    <message>
        <source>触摸</source>
        <translation>жанасу</translation>
    </message>
    <message>
        <source>鼠标</source>
        <translation>тінтуір</translation>
    </message>
    <message>
        <source>接受</source>
        <translation>Қабылдау</translation>
    </message>
    <message>
        <source>重新检查</source>
        <translation>Қайта тексеру</translation>
    </message>
    <message>
        <source>重新标定</source>
        <translation>Қайта калибрлеу</translation>
    </message>
    <message>
        <source>对话框</source>
        <translation>Диалог</translation>
    </message>
    <message>
        <source>标定初始化失败，请先退出 , 重新标定!
</source>
        <translation>Калибрлеуді инициализациялау сәтсіз аяқталды. Шығып, қайта калибрлеңіз!
</translation>
    </message>
    <message>
        <source>请用触摸笔垂直点击十字星中心，进行标定。
</source>
        <translation>Калибрлеу үшін стилусты тік ұстап, айқыштың ортасына тигізіңіз.
</translation>
    </message>
    <message>
        <source>设备已拔出,请按Esc退出。</source>
        <translation>Құрылғы ажыратылды. Шығу үшін Esc пернесін басыңыз.</translation>
    </message>
    <message>
        <source>标定已完成，请退出。
</source>
        <translation>Калибрлеу аяқталды. Шығыңыз.
</translation>
    </message>
    <message>
        <source>标定数据保存失败，请先退出，重新标定!
</source>
        <translation>Калибрлеу деректерін сақтау сәтсіз аяқталды. Шығып, қайта калибрлеңіз!
</translation>
    </message>
    <message>
        <source>设备初始化失败，请退出然后重新进入。
</source>
        <translation>Құрылғыны инициализациялау сәтсіз аяқталды. Шығып, терезені қайта ашыңыз.
</translation>
    </message>
    <message>
        <source>正在初始化设备，请稍候......
</source>
        <translation>Құрылғы инициализациялануда, күте тұрыңыз......
</translation>
    </message>
    <message>
        <source>正在保存标定数据，请勿触摸屏幕…… %d%%
</source>
        <translation>Калибрлеу деректері сақталуда, экранға тимеңіз... %d%%
</translation>
    </message>
    <message>
        <source>系统未提供屏幕的物理尺寸，无法以毫米判定。请输入屏幕显示区域的宽和高（毫米，例如 527x296）后按回车；直接按回车则只以像素检查。按Esc退出。
</source>
        <translation>Жүйе бұл экранның физикалық өлшемін бермейді, сондықтан миллиметрмен баға беру мүмкін емес. Экранның көрсету аймағының енін және биіктігін миллиметрмен енгізіп (мысалы, 527x296), Enter пернесін басыңыз; өлшемсіз Enter тек пиксельмен тексереді. Шығу үшін Esc пернесін басыңыз.
</translation>
    </message>
    <message>
        <source>“%s”不是以毫米表示的屏幕尺寸。
</source>
        <translation>«%s» миллиметрмен берілген экран өлшемі емес.
</translation>
    </message>
    <message>
        <source>标定检查所用的屏幕尺寸，单位毫米（例如 527x296），优先于显示器报告的尺寸</source>
        <translation>калибрлеу тексерісіне арналған экран өлшемі, миллиметрмен (мысалы, 527x296), монитор берген өлшемнен басым</translation>
    </message>
    <message>
        <source>宽x高</source>
        <translation>ЕxБ</translation>
    </message>
    <message>
        <source>选项 --screen-size 需要以毫米表示的宽和高，例如 527x296: %s
</source>
        <translation>--screen-size параметріне миллиметрмен ені мен биіктігі керек, мысалы 527x296: %s
</translation>
    </message>
    <message>
        <source>进程被 %s 终止</source>
        <translation>процесс %s салдарынан тоқтатылды</translation>
    </message>
    <message>
        <source>进程报告成功，但以退出状态 %d 结束</source>
        <translation>процесс сәттілік туралы хабарлады, бірақ %d шығу күйімен аяқталды</translation>
    </message>
    <message>
        <source>此版本的 tavlin-cli 不能保存图片（--png）</source>
        <translation>tavlin-cli бұл құрастырылымы суреттерді сақтай алмайды (--png)</translation>
    </message>
    <message>
        <source>无法写入 %s：%s</source>
        <translation>%s жазу мүмкін болмады: %s</translation>
    </message>
    <message>
        <source>运行记录未能保存到 %s：%s</source>
        <translation>іске қосу жазбасын %s ішінде сақтау мүмкін болмады: %s</translation>
    </message>
    <message>
        <source>results：未知或不完整的选项 '%s'</source>
        <translation>results: белгісіз немесе толық емес параметр '%s'</translation>
    </message>
    <message>
        <source>--last 只接受从 1 开始的数量，而不是 '%s'</source>
        <translation>--last 1-ден бастап санды қабылдайды, '%s' емес</translation>
    </message>
    <message>
        <source>--since 需要日期（YYYY-MM-DD），而不是 '%s'</source>
        <translation>--since күнді қажет етеді (YYYY-MM-DD), '%s' емес</translation>
    </message>
    <message>
        <source>已导出 %d 条运行记录到 %s</source>
        <translation>%d іске қосу жазбасы %s ішіне экспортталды</translation>
    </message>
    <message>
        <source>无法写入 %s</source>
        <translation>%s жазу мүмкін емес</translation>
    </message>
    <message>
        <source>运行记录已关闭（--results none）</source>
        <translation>іске қосу жазбалары өшірулі (--results none)</translation>
    </message>
    <message>
        <source>没有运行记录数据库 %s</source>
        <translation>%s іске қосу жазбаларының дерекқоры жоқ</translation>
    </message>
    <message>
        <source>此版本不保存运行记录</source>
        <translation>бұл нұсқа іске қосу жазбаларын сақтамайды</translation>
    </message>
    <message>
        <source>运行记录未能上传到 %s：%s（%d 条记录等待下次上传）</source>
        <translation>іске қосу жазбаларын %s серверіне жіберу мүмкін болмады: %s (%d жазба келесі жіберуді күтеді)</translation>
    </message>
    <message>
        <source>已上传 %d 条运行记录到 %s</source>
        <translation>%d іске қосу жазбасы %s серверіне жіберілді</translation>
    </message>
    <message>
        <source>没有等待上传的运行记录</source>
        <translation>жіберуді күтетін іске қосу жазбалары жоқ</translation>
    </message>
    <message>
        <source>没有给出产线服务器（--results-server URL 或环境变量 TAVLIN_RESULTS_SERVER）</source>
        <translation>желі сервері берілмеген (--results-server URL немесе TAVLIN_RESULTS_SERVER орта айнымалысы)</translation>
    </message>
    <message>
        <source>无法读取产线服务器的地址（libpq 连接字符串或 URI）</source>
        <translation>желі серверінің мекенжайын оқу мүмкін емес (libpq қосылым жолы немесе URI)</translation>
    </message>
    <message>
        <source>此版本不上传运行记录</source>
        <translation>бұл нұсқа іске қосу жазбаларын жібермейді</translation>
    </message>
    <message>
        <source>继续该设备未完成的更新：%s</source>
        <translation>осы құрылғының аяқталмаған жаңартуы жалғастырылуда: %s</translation>
    </message>
    <message>
        <source>端口 %s 上的设备没有未完成的更新可继续</source>
        <translation>%s портындағы құрылғыда жалғастыратын аяқталмаған жаңарту жоқ</translation>
    </message>
    <message>
        <source>--resume 需要运行记录（不能与 --results none 一起使用）</source>
        <translation>--resume іске қосу жазбаларын қажет етеді (--results none бірге емес)</translation>
    </message>
    <message>
        <source>请在 %s 中运行 update --resume：更新包的映像文件名相对于该文件夹</source>
        <translation>update --resume пәрменін %s ішінде іске қосыңыз: бума бейнелерін осы қалтаға қатысты атайды</translation>
    </message>
    <message>
        <source>更新包自上次更新以来已更改，不予继续：%s</source>
        <translation>бума соңғы жаңартудан бері өзгерді, сондықтан ол жалғастырылмайды: %s</translation>
    </message>
    <message>
        <source>应用固件</source>
        <translation>қолданба</translation>
    </message>
    <message>
        <source>更新环境</source>
        <translation>жаңарту</translation>
    </message>
    <message>
        <source>--all 只能用于 versions、mode 和 update</source>
        <translation>--all тек versions, mode және update командаларымен жұмыс істейді</translation>
    </message>
    <message>
        <source>--all 不能与 --device、--record 或 --replay 一起使用</source>
        <translation>--all параметрін --device, --record немесе --replay параметрлерімен бірге қолдануға болмайды</translation>
    </message>
    <message>
        <source>[%s] 成功</source>
        <translation>[%s] сәтті</translation>
    </message>
    <message>
        <source>[%s] 失败：%s</source>
        <translation>[%s] сәтсіз: %s</translation>
    </message>
    <message>
        <source>全部 %d 台设备成功</source>
        <translation>Барлық %d құрылғы сәтті өтті</translation>
    </message>
    <message>
        <source>%d 台设备中有 %d 台失败</source>
        <translation>%d құрылғының %d-і сәтсіз</translation>
    </message>
    <message>
        <source>无法为端口 %s 启动进程：%s</source>
        <translation>%s порты үшін процесті іске қосу мүмкін емес: %s</translation>
    </message>
    <message>
        <source>进程结束时没有给出结果（退出状态 %d）</source>
        <translation>Процесс нәтижесіз аяқталды (шығу коды %d)</translation>
    </message>
    <message>
        <source>系统未给出该设备的 USB 端口，无法单独选择它</source>
        <translation>Жүйе бұл құрылғының USB портын көрсетпейді, сондықтан оны жеке таңдау мүмкін емес</translation>
    </message>
    <message>
        <source>用法:
</source>
        <translation>қолданылуы:
</translation>
    </message>
    <message>
        <source>以与 Tavlin 窗口相同的工作线程、命令线程、设备检测和日志（当前目录下的
Tavlin_log.txt）执行一项设备操作。

命令:
  list                     列出连接的设备，每台一行：USB 端口、产品 ID、应用固件
                           或更新环境、系统路径（没有设备：退出状态 3）
  detect                   检测设备，打印状态文字
  mode work                把设备切换到工作模式
  mode calibration         把设备切换到标定模式（然后像窗口的切换按钮一样显示
                           镜像版本）
  versions                 读取并打印两个传感器的镜像版本
  read [--i2c] ADDR        读一个寄存器；ADDR 的读法与 Step Debug 面板相同
                           （0x 前缀为十六进制，否则为十进制；第 24-25 位选择
                           寄存器空间，第 28 位选择 Slave 传感器）
  write [--i2c] ADDR VALUE 写一个寄存器（VALUE 的低字节）
  script FILE              执行寄存器脚本
  fpga FILE                下载 FPGA 代码（在终端上显示进度条）
  update PACKAGE [--replug-timeout SECONDS] [--verify]
                           像窗口的固件工具一样更新固件包文件列出的固件镜像：
                           设备重启进入更新环境（最多等待 SECONDS 秒，默认 20），
                           写入镜像，再让设备返回；--verify 随后把设备报告的
                           版本与固件包比较
  level [--frames N] [--exposure] [--png DIR]
                           调平光学模组：搜索，N 个预览周期（默认 1），有
                           --exposure 时调节曝光（然后以 OK 离开，模式 0xEE；
                           否则以 Cancel 离开，工作模式），两张图片保存为
                           DIR/master.png 和 DIR/slave.png（先创建 DIR）；
                           每行状态以其传感器的名称开头
  layout WxH               打印 W x H 屏幕的十五个标定点，每个一行：编号、x、y、
                           目标代码（不需要设备）
  calibrate [--screen WxH] [--target-limit SECONDS]
                           为 W x H 屏幕（默认 1920x1080）进行触摸标定：打印提示
                           和十字准星移到的每个标定点，以及保存的百分比，每个值
                           一次（在终端上在同一行刷新）；完成后退出状态 0；某个
                           标定点 SECONDS 秒（默认 30）内没有有效采样即结束
                           （退出状态 1），设备断开时也结束，即使它又回来了
  results [--last N] [--port PORT] [--since YYYY-MM-DD]
                           列出运行记录数据库中最近的运行（默认 20 次），每次一行
  results export [--csv] FILE
                           把运行记录导出为 JSON 文件（--csv：每个测量值一行的 CSV）

--i2c 发送传感器（I2C）请求而不是 FPGA 请求，与 Sensor 选择框相同。
</source>
        <translation>Құрылғымен бір операцияны Tavlin терезесімен бірдей жұмыс ағындарымен, командалар
ағынымен, анықтаумен және журналмен (ағымдағы қалтадағы Tavlin_log.txt) орындайды.

командалар:
  list                     қосылған құрылғыларды тізеді, әрқайсысы бір жолда: USB
                           порты, өнім коды, қолданбалы микробағдарлама немесе
                           жаңарту ортасы, жүйелік жол (шығу коды 3: жоқ)
  detect                   құрылғыны анықтайды; күй мәтінін басып шығарады
  mode work                құрылғыны жұмыс режиміне ауыстырады
  mode calibration         құрылғыны калибрлеу режиміне ауыстырады (содан кейін
                           терезенің ауыстырғышы сияқты бейне нұсқаларын көрсетеді)
  versions                 екі датчиктің бейне нұсқаларын оқып, басып шығарады
  read [--i2c] ADDR        бір регистрді оқиды; ADDR Step Debug панеліндегідей
                           оқылады (0x префиксі: оналтылық, әйтпесе ондық; 24-25
                           биттер регистрлер кеңістігін, 28 бит Slave датчигін
                           таңдайды)
  write [--i2c] ADDR VALUE бір регистрге жазады (VALUE-дің кіші байты)
  script FILE              регистрлер скриптін орындайды
  fpga FILE                FPGA кодын жүктейді (терминалда орындалу жолағы)
  update PACKAGE [--replug-timeout SECONDS] [--verify]
                           пакет файлында аталған микробағдарлама бейнелерін
                           терезенің құралы сияқты жаңартады: құрылғы жаңарту
                           ортасында қайта іске қосылады (SECONDS секундқа дейін
                           күтіледі, әдепкі 20), бейнелер жазылады, құрылғы кері
                           жіберіледі; --verify содан кейін ол хабарлаған
                           нұсқаларды пакетпен салыстырады
  level [--frames N] [--exposure] [--png DIR]
                           оптикалық модульдерді теңестіреді: іздеу, N алдын ала
                           қарау циклі (әдепкі 1), --exposure болса экспозиция
                           (содан кейін OK арқылы шығу, 0xEE режимі; әйтпесе Бас
                           тарту, жұмыс режимі) және екі сурет DIR/master.png және
                           DIR/slave.png ретінде (DIR алдымен жасалады); әр күй
                           жолы өз датчигінің атауынан басталады
  layout WxH               W x H экранының он бес калибрлеу нүктесін басып шығарады,
                           әрқайсысы бір жолда: нөмірі, x, y, нүкте коды (құрылғысыз)
  calibrate [--screen WxH] [--target-limit SECONDS]
                           W x H экраны үшін жанасуды калибрлейді (әдепкі
                           1920x1080): нұсқауларды және айқас белгі көшкен әр
                           нүктені, сақтау пайызын әр мән үшін бір рет басып
                           шығарады (терминалда бір жол орнында қайта сызылады);
                           аяқталғанда код 0; SECONDS ішінде (әдепкі 30) дұрыс
                           өлшемі жоқ нүкте оны аяқтайды (код 1), ажыратылған
                           құрылғы да, тіпті ол қайта оралса да
  results [--last N] [--port PORT] [--since YYYY-MM-DD]
                           жазбалар дерекқорындағы соңғы іске қосуларды тізеді (әдепкі
                           20), әрқайсысы бір жол
  results export [--csv] FILE
                           жазбаларды JSON файлына экспорттайды (--csv: CSV, әр өлшемге
                           бір жол)

--i2c FPGA сұрауының орнына датчиктің (I2C) сұрауын жібереді, Sensor өрісі сияқты.
</translation>
    </message>
    <message>
        <source>
固件包（不需要设备）:
  package manifest PACKAGE 写入 PACKAGE.sha256：固件包文件及其列出的镜像的
                           SHA-256（供 minisign -Sm PACKAGE.sha256 签名）
  package verify PACKAGE   检查固件包的签名和哈希，打印签名密钥和可信注释
                           （失败：退出状态 1）
</source>
        <translation>
Бумалар (құрылғы қажет емес):
  package manifest PACKAGE PACKAGE.sha256 жазу: бума файлының және ол атаған бейнелердің
                           SHA-256 мәні (minisign -Sm PACKAGE.sha256 арқылы қол қою үшін)
  package verify PACKAGE   буманың қолтаңбасы мен хештерін тексеру, қол қою кілті мен
                           сенімді түсініктемені шығару (қате: шығу күйі 1)
</translation>
    </message>
    <message>
        <source>
中断的更新:
  update --resume [--replug-timeout SECONDS] [--verify]
                           用运行记录中该端口上次未完成的更新所用的固件包重新完整
                           更新设备（先检查固件包文件的哈希和签名未变）
</source>
        <translation>
үзілген жаңартулар:
  update --resume [--replug-timeout SECONDS] [--verify]
                           құрылғыны оның портындағы аяқталмаған соңғы жаңартудың
                           бумасымен, іске қосу жазбалары сақтағандай, қайтадан
                           толық жаңартады (алдымен файлдарының хэштері мен
                           қолтаңбасы тексеріледі)
</translation>
    </message>
    <message>
        <source>update --resume 不接受固件包文件：它使用记录中的固件包</source>
        <translation>update --resume бума файлын қабылдамайды: ол жазылғанын алады</translation>
    </message>
    <message>
        <source>'package' 需要 manifest 或 verify 以及一个固件包文件</source>
        <translation>'package' үшін manifest немесе verify және бума файлы қажет</translation>
    </message>
    <message>
        <source>选项的值不能为空。

退出状态: 0 成功，1 操作失败，2 用法错误，3 没有设备，
</source>
        <translation>Параметрдің мәні бос бола алмайды.

шығу кодтары: 0 сәтті, 1 операция сәтсіз, 2 қолдану қатесі, 3 құрылғы жоқ,
</translation>
    </message>
    <message>
        <source>4 设备存在但当前用户无权打开（请安装软件包的 udev 规则，然后重新插拔设备）
</source>
        <translation>4 құрылғы бар, бірақ бұл пайдаланушы оны аша алмайды (пакеттің udev ережелерін
орнатып, құрылғыны қайта қосыңыз)
</translation>
    </message>
    <message>
        <source>4 设备存在但无法打开（请关闭正在使用它的其他程序，或申请打开它的权限）
</source>
        <translation>4 құрылғы бар, бірақ оны ашу мүмкін емес (оны қолданып тұрған басқа бағдарламаны
жабыңыз немесе оны ашу құқығын сұраңыз)
</translation>
    </message>
    <message>
        <source>%s（见 --help）</source>
        <translation>%s (--help қараңыз)</translation>
    </message>
    <message>
        <source>没有给出命令</source>
        <translation>команда берілмеген</translation>
    </message>
    <message>
        <source>未知命令 '%s'</source>
        <translation>белгісіз команда '%s'</translation>
    </message>
    <message>
        <source>'%s' 的参数为空</source>
        <translation>'%s' бос аргумент алды</translation>
    </message>
    <message>
        <source>'%s' 不接受参数</source>
        <translation>'%s' аргумент қабылдамайды</translation>
    </message>
    <message>
        <source>'%s' 需要 1 个参数</source>
        <translation>'%s' 1 аргумент қабылдайды</translation>
    </message>
    <message>
        <source>'%s' 需要 %d 个参数</source>
        <translation>'%s' %d аргумент қабылдайды</translation>
    </message>
    <message>
        <source>mode 只能是 'work' 或 'calibration'，而不是 '%s'</source>
        <translation>mode мәні 'work' немесе 'calibration', '%s' емес</translation>
    </message>
    <message>
        <source>'%s' 不是寄存器地址</source>
        <translation>'%s' регистр мекенжайы емес</translation>
    </message>
    <message>
        <source>--replug-timeout 只接受 1 到 3600 的秒数</source>
        <translation>--replug-timeout 1-ден 3600-ге дейінгі секунд санын қабылдайды</translation>
    </message>
    <message>
        <source>'update' 不接受参数 '%s'</source>
        <translation>'update' үшін артық аргумент '%s'</translation>
    </message>
    <message>
        <source>'update' 需要一个固件包文件</source>
        <translation>'update' пакет файлын қажет етеді</translation>
    </message>
    <message>
        <source>--frames 只接受从 1 开始的周期数，而不是 '%s'</source>
        <translation>--frames 1-ден басталатын циклдер санын қабылдайды, '%s' емес</translation>
    </message>
    <message>
        <source>level：未知或不完整的选项 '%s'</source>
        <translation>level: белгісіз немесе толық емес параметр '%s'</translation>
    </message>
    <message>
        <source>'layout' 需要 1 个参数（WxH）</source>
        <translation>'layout' 1 аргумент қабылдайды (WxH)</translation>
    </message>
    <message>
        <source>'calibrate' 只接受 --screen WxH 和 --target-limit SECONDS</source>
        <translation>'calibrate' тек --screen WxH және --target-limit SECONDS қабылдайды</translation>
    </message>
    <message>
        <source>'%s' 不是 1 到 3600 的秒数</source>
        <translation>'%s' 1-ден 3600-ге дейінгі секунд саны емес</translation>
    </message>
    <message>
        <source>'%s' 不是屏幕尺寸（例如 1920x1080）</source>
        <translation>'%s' 1920x1080 сияқты экран өлшемі емес</translation>
    </message>
    <message>
        <source>寄存器地址不是数字！
</source>
        <translation>Регистр мекенжайы сан емес!
</translation>
    </message>
    <message>
        <source>寄存器值不是数字！
</source>
        <translation>Регистр мәні сан емес!
</translation>
    </message>
    <message>
        <source>预览未停止，下载未开始！
</source>
        <translation>Алдын ала қарау тоқтамады, жүктеу басталмады!
</translation>
    </message>
    <message>
        <source>另一个代码传输正在进行，请稍后再试！
</source>
        <translation>Басқа код жіберу жүріп жатыр, кейінірек қайталаңыз!
</translation>
    </message>
    <message>
        <source>脚本第 %d 行：未知命令 '%s'
</source>
        <translation>Скрипттің %d-жолы: белгісіз команда '%s'
</translation>
    </message>
    <message>
        <source>脚本第 %d 行：操作数 '%s' 不是数字
</source>
        <translation>Скрипттің %d-жолы: '%s' операнды сан емес
</translation>
    </message>
    <message>
        <source>脚本第 %d 行：操作数 '%s' 是负数
</source>
        <translation>Скрипттің %d-жолы: '%s' операнды теріс сан
</translation>
    </message>
    <message>
        <source>脚本未运行，没有向设备发送任何命令：请先改正以上各行。
</source>
        <translation>Скрипт орындалмады, құрылғыға ештеңе жіберілмеді: алдымен жоғарыдағы жолдарды түзетіңіз.
</translation>
    </message>
    <message>
        <source>正在准备环境，请稍候...
</source>
        <translation>Орта дайындалуда, күте тұрыңыз...
</translation>
    </message>
    <message>
        <source>请先打开配置文件(.ini格式)!
</source>
        <translation>Алдымен конфигурация файлын (.ini) ашыңыз!
</translation>
    </message>
    <message>
        <source>正在更新，请稍候!
</source>
        <translation>Жаңарту жүріп жатыр, күте тұрыңыз!
</translation>
    </message>
    <message>
        <source>配置文件不正确，请重新打开!
</source>
        <translation>Конфигурация файлы дұрыс емес, оны қайта ашыңыз!
</translation>
    </message>
    <message>
        <source>没有需要更新的固件，请退出!
</source>
        <translation>Жаңартатын микробағдарлама жоқ, шығыңыз!
</translation>
    </message>
    <message>
        <source>打开文件失败,请确认配置文件中的.bin文件在当前目录!
</source>
        <translation>Файлды ашу сәтсіз; конфигурация файлында аталған .bin файлы ағымдағы каталогта екенін тексеріңіз!
</translation>
    </message>
    <message>
        <source>配置文件更新失败,请退出重试!
</source>
        <translation>Конфигурация файлынан жаңарту сәтсіз, шығып, қайталаңыз!
</translation>
    </message>
    <message>
        <source>开始烧写配置文件,请稍候...
</source>
        <translation>Бейнелерді жазу басталды, күте тұрыңыз...
</translation>
    </message>
    <message>
        <source>固件更新成功，请退出!
</source>
        <translation>Микробағдарлама сәтті жаңартылды, шығыңыз!
</translation>
    </message>
    <message>
        <source>Write Tavlin Left HInfo %dKB Success!
</source>
        <translation>Tavlin Left HInfo %d КБ жазу сәтті!
</translation>
    </message>
    <message>
        <source>Write Tavlin Right HInfo %dKB Success!
</source>
        <translation>Tavlin Right HInfo %d КБ жазу сәтті!
</translation>
    </message>
    <message>
        <source>Write Tavlin Left LInfo %dKB Success!
</source>
        <translation>Tavlin Left LInfo %d КБ жазу сәтті!
</translation>
    </message>
    <message>
        <source>Write Tavlin Right RInfo %dKB Success!
</source>
        <translation>Tavlin Right RInfo %d КБ жазу сәтті!
</translation>
    </message>
    <message>
        <source>更新后的版本与配置文件不符: M--%08x, S--%08x
</source>
        <translation>Жаңартудан кейінгі нұсқалар конфигурация файлымен сәйкес емес: M--%08x, S--%08x
</translation>
    </message>
    <message>
        <source>切换模式</source>
        <translation>Режимді ауыстыру</translation>
    </message>
    <message>
        <source>更新进度   ：</source>
        <translation>Жаңарту барысы   :</translation>
    </message>
    <message>
        <source>配置文件...</source>
        <translation>Конфигурация файлы...</translation>
    </message>
    <message>
        <source>一键更新</source>
        <translation>Бір басумен жаңарту</translation>
    </message>
    <message>
        <source>更新IMAGE:</source>
        <translation>IMAGE жаңарту:</translation>
    </message>
    <message>
        <source>更新 FPGA:</source>
        <translation>FPGA жаңарту:</translation>
    </message>
    <message>
        <source>更新FPGA</source>
        <translation>FPGA жаңарту</translation>
    </message>
    <message>
        <source>读取IMAGE版本信息</source>
        <translation>IMAGE нұсқасын оқу</translation>
    </message>
    <message>
        <source>更新IMAGE版本信息</source>
        <translation>IMAGE нұсқасын жаңарту</translation>
    </message>
    <message>
        <source>读取FPGA版本信息</source>
        <translation>FPGA нұсқасын оқу</translation>
    </message>
    <message>
        <source>更新FPGA版本信息</source>
        <translation>FPGA нұсқасын жаңарту</translation>
    </message>
    <message>
        <source>固件包校验失败: %s
</source>
        <translation>Бума тексеруден өтпеді: %s
</translation>
    </message>
    <message>
        <source>本工位只接受签名的固件包: %s
</source>
        <translation>Бұл жұмыс орны тек қол қойылған бумаларды қабылдайды: %s
</translation>
    </message>
    <message>
        <source>警告: 固件包 %s 没有签名
</source>
        <translation>Ескерту: %s бумасына қол қойылмаған
</translation>
    </message>
    <message>
        <source>签名密钥 %s: %s</source>
        <translation>%s кілтімен қол қойылған: %s</translation>
    </message>
    <message>
        <source>未签名</source>
        <translation>қол қойылмаған</translation>
    </message>
    <message>
        <source>固件包校验通过: 签名密钥 %s, 可信注释: %s
</source>
        <translation>Бума тексерілді: %s кілтімен қол қойылған, сенімді түсініктеме: %s
</translation>
    </message>
    <message>
        <source>已写入 %s
</source>
        <translation>%s жазылды
</translation>
    </message>
    <message>
        <source>起始行</source>
        <translation>Бастапқы жол</translation>
    </message>
    <message>
        <source>角度</source>
        <translation>Бұрыш</translation>
    </message>
    <message>
        <source>曝光</source>
        <translation>Экспозиция</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>曝光调节</source>
        <translation>Экспозицияны реттеу</translation>
    </message>
    <message>
        <source>行首向左</source>
        <translation>Жол басы солға</translation>
    </message>
    <message>
        <source>行首向右</source>
        <translation>Жол басы оңға</translation>
    </message>
    <message>
        <source>行尾向左</source>
        <translation>Жол соңы солға</translation>
    </message>
    <message>
        <source>行尾向右</source>
        <translation>Жол соңы оңға</translation>
    </message>
    <message>
        <source>保存信息</source>
        <translation>Мәліметті сақтау</translation>
    </message>
    <message>
        <source>预览图像缓冲区不可用，无法打开调平窗口。
</source>
        <translation>Алдын ала қарау кескінінің буферлері қолжетімсіз; деңгейлеу терезесі ашылмайды.
</translation>
    </message>
    <message>
        <source>连接了多台设备（端口：%s），请用 --device 指定其中一台</source>
        <translation>Бірнеше құрылғы қосылған (порттар: %s); біреуін --device арқылы таңдаңыз</translation>
    </message>
    <message>
        <source>端口 %s 上没有设备（已连接的设备在端口：%s）</source>
        <translation>%s портында құрылғы жоқ (қосылған құрылғылар порттарда: %s)</translation>
    </message>
    <message>
        <source>用法: %s [选项]
</source>
        <translation>Қолданылуы: %s [параметрлер]
</translation>
    </message>
    <message>
        <source>选项:
</source>
        <translation>Параметрлер:
</translation>
    </message>
    <message>
        <source>显示此帮助并退出</source>
        <translation>осы анықтаманы көрсетіп, шығу</translation>
    </message>
    <message>
        <source>显示版本号并退出</source>
        <translation>нұсқаны көрсетіп, шығу</translation>
    </message>
    <message>
        <source>使用内置的模拟设备代替 USB 设备</source>
        <translation>USB құрылғысының орнына кірістірілген үлгі құрылғыны пайдалану</translation>
    </message>
    <message>
        <source>计划</source>
        <translation>жоспар</translation>
    </message>
    <message>
        <source>模拟设备的故障计划（仅与 --simulate 一起使用）</source>
        <translation>үлгі құрылғының ақаулар жоспары (тек --simulate бірге)</translation>
    </message>
    <message>
        <source>数量</source>
        <translation>саны</translation>
    </message>
    <message>
        <source>模拟多台设备，端口为 sim-1 到 sim-N（仅与 --simulate 一起使用）</source>
        <translation>sim-1 … sim-N порттарында бірнеше құрылғыны имитациялау (тек --simulate бірге)</translation>
    </message>
    <message>
        <source>把模拟设备的闪存（映像、版本、模式）保存在文件中，供以后的运行使用（仅与 --simulate 一起使用）</source>
        <translation>модельденген құрылғының флеш жадын (бейнелер, нұсқалар, режим) келесі іске қосулар үшін файлда сақтау (тек --simulate-пен)</translation>
    </message>
    <message>
        <source>只使用该 USB 端口上的设备（端口见 tavlin-cli list）</source>
        <translation>тек осы USB портындағы құрылғымен жұмыс істеу (порттар: tavlin-cli list)</translation>
    </message>
    <message>
        <source>显示工程控制台</source>
        <translation>инженерлік консольді көрсету</translation>
    </message>
    <message>
        <source>文件夹</source>
        <translation>қалта</translation>
    </message>
    <message>
        <source>日志文件所在的文件夹（默认为当前目录；不存在时自动创建）</source>
        <translation>журнал файлының қалтасы (әдепкі бойынша ағымдағы қалта; жоқ болса, жасалады)</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>ФАЙЛ</translation>
    </message>
    <message>
        <source>节奏</source>
        <translation>ҚАРҚЫН</translation>
    </message>
    <message>
        <source>把与设备之间的每个报告和设备的插拔记录到文件</source>
        <translation>құрылғымен алмасқан әр есепті және оның қосылуы мен ажыратылуын файлға жазу</translation>
    </message>
    <message>
        <source>用记录的会话代替设备</source>
        <translation>құрылғының орнына жазылған сеансты ойнату</translation>
    </message>
    <message>
        <source>每次设备运行的记录写入该 SQLite 数据库（默认：日志文件夹中的 Tavlin_results.sqlite；none：不保存）</source>
        <translation>құрылғыдағы әр іске қосудың жазбасын осы SQLite дерекқорында сақтау (әдепкі: журнал қалтасындағы Tavlin_results.sqlite; none: сақтамау)</translation>
    </message>
    <message>
        <source>每次运行后把运行记录上传到产线的 PostgreSQL 服务器（libpq 连接字符串；未给出时读取 TAVLIN_RESULTS_SERVER）</source>
        <translation>әр іске қосудан кейін жазбаларды желінің PostgreSQL серверіне жіберу (libpq қосылу жолы; әйтпесе TAVLIN_RESULTS_SERVER)</translation>
    </message>
    <message>
        <source>把操作员写入运行记录</source>
        <translation>операторды іске қосу жазбаларына жазу</translation>
    </message>
    <message>
        <source>把批次写入运行记录</source>
        <translation>партияны іске қосу жазбаларына жазу</translation>
    </message>
    <message>
        <source>recorded：保持记录的时间；immediate（默认）：立即应答</source>
        <translation>recorded: жазылған уақытты сақтау; immediate (әдепкі): бірден жауап беру</translation>
    </message>
    <message>
        <source>打开标定检查，检查之前标定过的设备</source>
        <translation>бұрын калибрленген құрылғы үшін калибрлеу тексерісін ашу</translation>
    </message>
    <message>
        <source>毫米</source>
        <translation>ММ</translation>
    </message>
    <message>
        <source>标定检查的允许误差，单位毫米（默认 2.0）</source>
        <translation>калибрлеу тексерісінің рұқсат етілген қатесі, миллиметрмен (әдепкі 2.0)</translation>
    </message>
    <message>
        <source>选项 --check-tolerance 需要一个大于 0 且不超过 50 的毫米数: %s
</source>
        <translation>--check-tolerance параметріне 0-ден үлкен және 50-ден аспайтын миллиметр саны керек: %s
</translation>
    </message>
    <message>
        <source>未知选项: %s
</source>
        <translation>белгісіз параметр: %s
</translation>
    </message>
    <message>
        <source>选项 %s 需要一个值
</source>
        <translation>%s параметріне мән керек
</translation>
    </message>
    <message>
        <source>选项 %s 不接受值
</source>
        <translation>%s параметрі мән қабылдамайды
</translation>
    </message>
    <message>
        <source>多余的参数: %s
</source>
        <translation>артық аргумент: %s
</translation>
    </message>
    <message>
        <source>可用的选项请见 --help。
</source>
        <translation>Параметрлер тізімі: --help.
</translation>
    </message>
    <message>
        <source>--log-dir 需要一个文件夹</source>
        <translation>--log-dir қалтаны қажет етеді</translation>
    </message>
    <message>
        <source>--device 需要一个 USB 端口（见 tavlin-cli list）</source>
        <translation>--device USB портын қажет етеді (tavlin-cli list қараңыз)</translation>
    </message>
    <message>
        <source>--simulate 使用内置的模拟设备代替 USB 设备；
</source>
        <translation>--simulate USB құрылғысының орнына кірістірілген модельденген құрылғыны қолданады;
</translation>
    </message>
    <message>
        <source>--sim-devices N 在端口 sim-1 到 sim-N 上模拟 N 台设备。
</source>
        <translation>--sim-devices N sim-1 … sim-N порттарында N құрылғыны модельдейді.
</translation>
    </message>
    <message>
        <source>--sim-state FILE 把模拟设备的闪存（映像、版本、模式）保存在 FILE 中，供以后的运行使用；
不是这种文件或已损坏的 FILE 会被拒绝（退出状态 2）并保持原样。
</source>
        <translation>--sim-state FILE модельденген құрылғының флеш жадын (бейнелер, нұсқалар, режим) келесі
іске қосулар үшін FILE ішінде сақтайды; ондай файл емес немесе бүлінген FILE қабылданбайды
(код 2) және өзгеріссіз қалады.
</translation>
    </message>
    <message>
        <source>--device PORT 只使用该 USB 端口上的设备（见 list），并在该端口上跟随它的重启。
没有此选项时，连接了多台设备的运行会拒绝选择（退出状态 2）。
</source>
        <translation>--device PORT тек сол USB портындағы құрылғымен жұмыс істейді (list қараңыз) және
сол порттағы қайта іске қосылуларында оның соңынан ереді. Онсыз бірнеше құрылғы
қосылғанда іске қосу таңдаудан бас тартады (код 2).
</translation>
    </message>
    <message>
        <source>--all 同时在每台连接的设备上执行 versions、mode 或 update，每台设备一个进程，
各自把日志写入自己的文件夹 DIR/PORT（DIR 来自 --log-dir，否则为当前文件夹）；
只有每台设备都成功时退出状态才为 0。
</source>
        <translation>--all versions, mode немесе update командасын барлық қосылған құрылғыларда бірден
орындайды, әр құрылғыға бір процесс, әрқайсысы журналын өз DIR/PORT қалтасына жазады
(DIR --log-dir-ден, әйтпесе ағымдағы қалта); код 0 тек барлығы сәтті болғанда.
</translation>
    </message>
    <message>
        <source>--json 在运行结束时在 stdout 上输出一行 JSON 对象（command、exit、result、
interrupted、reason、messages、device、log、elapsed_ms、tool_version 以及命令
的结果）；给人看的文字则输出到 stderr。
</source>
        <translation>--json іске қосуды stdout-қа бір жолдағы бір JSON нысанымен аяқтайды (command, exit,
result, interrupted, reason, messages, device, log, elapsed_ms, tool_version және
команда берген нәтиже); адамдарға арналған мәтіндер онда stderr-ге шығады.
</translation>
    </message>
    <message>
        <source>--log-dir DIR 把日志写入 DIR（不存在时创建；无法写入的文件夹立即以退出状态 2
结束运行）。
</source>
        <translation>--log-dir DIR журналды DIR-ге жазады (жоқ болса жасалады; жазуға болмайтын қалта іске
қосуды бірден 2 кодымен аяқтайды).
</translation>
    </message>
    <message>
        <source>--record FILE 把与设备之间的每个报告以及设备的插拔写入 FILE（JSON 行，见 README）。
</source>
        <translation>--record FILE құрылғыға және одан келген әр есепті, оның қосылуы мен ажыратылуын FILE
файлына жазады (JSON жолдары, README қараңыз).
</translation>
    </message>
    <message>
        <source>--replay FILE 用这样的记录代替设备回放；第一个与记录不同的输出报告使命令失败。
--replay-pace recorded 保持记录的时间（默认：立即应答），只能与 --replay 一起使用。
</source>
        <translation>--replay FILE мұндай жазбаны құрылғының орнына ойнатады; жазылғаннан өзгеше бірінші
шығыс есебі команданы сәтсіз етеді. --replay-pace recorded жазылған уақытты сақтайды
(әдепкі: бірден жауап береді); ол --replay-ді қажет етеді.
</translation>
    </message>
    <message>
        <source>--version 打印程序的版本并结束。
</source>
        <translation>--version бағдарламаның нұсқасын басып шығарып, аяқталады.
</translation>
    </message>
    <message>
        <source>--results FILE 把每次设备运行的记录写入 SQLite 数据库 FILE（默认：日志文件夹中的
Tavlin_results.sqlite；none 表示不保存记录）；记录在输出结果之前写入。
</source>
        <translation>--results FILE құрылғыдағы әр іске қосудың жазбасын SQLite дерекқоры FILE ішінде
сақтайды (әдепкі: журнал қалтасындағы Tavlin_results.sqlite; none — жазбасыз);
жазба нәтиже айтылмас бұрын жазылады.
</translation>
    </message>
    <message>
        <source>--results-server URL 把运行记录上传到产线的 PostgreSQL 服务器（libpq 连接字符串或
URI；未给出时读取环境变量 TAVLIN_RESULTS_SERVER；密码来自 libpq 的密码文件或
PGPASSWORD）：每次设备运行输出结果后最多尝试几秒，不影响退出状态；
results upload 发送所有等待上传的记录（全部发送：退出状态 0）。
</source>
        <translation>--results-server URL іске қосу жазбаларын желінің PostgreSQL серверіне жібереді (libpq
қосылым жолы немесе URI; ол болмаса — TAVLIN_RESULTS_SERVER орта айнымалысы; құпия сөз
libpq құпия сөздер файлынан немесе PGPASSWORD-тан алынады): әр құрылғы іске қосылуы
нәтижесін айтқаннан кейін, ең көбі бірнеше секунд, шығу күйін ешқашан өзгертпей;
results upload күтіп тұрған барлық жазбаларды жібереді (бәрі кеткенде шығу күйі 0).
</translation>
    </message>
    <message>
        <source>--operator NAME 把操作员写入运行记录。
</source>
        <translation>--operator NAME операторды іске қосу жазбасына енгізеді.
</translation>
    </message>
    <message>
        <source>--lot LOT 把批次写入运行记录。
</source>
        <translation>--lot LOT топтаманы іске қосу жазбасына енгізеді.
</translation>
    </message>
    <message>
        <source>--require-record 运行记录未能保存时，运行以退出状态 1 结束。
</source>
        <translation>--require-record жазбасы сақталмаған іске қосуды 1 кодымен аяқтайды.
</translation>
    </message>
    <message>
        <source>信任该公钥文件的密钥签名的固件包（可多次给出）</source>
        <translation>осы ашық кілт файлындағы кілтпен қол қойылған бумаларға сену (бірнеше рет берілуі мүмкін)</translation>
    </message>
    <message>
        <source>拒绝没有签名的固件包</source>
        <translation>қол қойылмаған бумаларды қабылдамау</translation>
    </message>
    <message>
        <source>--trusted-key FILE 信任 FILE（minisign 公钥文件）的密钥签名的固件包；可多次给出。
密钥文件夹中的每个 *.pub 也受信任（见 README）。
</source>
        <translation>--trusted-key FILE FILE ішіндегі кілтпен (minisign ашық кілт файлы) қол қойылған бумаларға сенеді;
бірнеше рет берілуі мүмкін. Кілттер қалтасындағы әр *.pub файлына да сенеді (README қараңыз).
</translation>
    </message>
    <message>
        <source>--require-signed 拒绝没有签名的固件包（密钥文件夹中有 require-signed 文件时也如此）。
</source>
        <translation>--require-signed қол қойылмаған бумаларды қабылдамайды (кілттер қалтасындағы require-signed файлы да солай етеді).
</translation>
    </message>
    <message>
        <source>值</source>
        <translation>мән</translation>
    </message>
    <message>
        <source>选项 %s 的值为空</source>
        <translation>%s параметрі бос мән алды</translation>
    </message>
    <message>
        <source>选项 %s 缺少值</source>
        <translation>%s параметріне мән керек</translation>
    </message>
    <message>
        <source>--sim-faults 需要 --simulate</source>
        <translation>--sim-faults үшін --simulate керек</translation>
    </message>
    <message>
        <source>--sim-devices 需要 --simulate</source>
        <translation>--sim-devices үшін --simulate керек</translation>
    </message>
    <message>
        <source>--sim-devices 只接受 1 到 %d 的设备数量</source>
        <translation>--sim-devices 1-ден %d-ге дейінгі құрылғылар санын қабылдайды</translation>
    </message>
    <message>
        <source>--replay-pace 只能与 --replay 一起使用</source>
        <translation>--replay-pace тек --replay параметрімен бірге қолданылады</translation>
    </message>
    <message>
        <source>--sim-state 需要 --simulate</source>
        <translation>--sim-state үшін --simulate керек</translation>
    </message>
    <message>
        <source>--sim-state 只能用于一台模拟设备</source>
        <translation>--sim-state тек бір модельденген құрылғымен жұмыс істейді</translation>
    </message>
    <message>
        <source>%s 不是模拟设备的状态文件，已保持原样</source>
        <translation>%s модельденген құрылғының күй файлы емес; ол өзгеріссіз қалдырылды</translation>
    </message>
    <message>
        <source>模拟设备的状态文件 %s 已损坏（%s），已保持原样</source>
        <translation>модельденген құрылғының %s күй файлы бүлінген (%s); ол өзгеріссіз қалдырылды</translation>
    </message>
    <message>
        <source>模拟设备的状态文件 %s 是较新的程序写的（%s），已保持原样</source>
        <translation>модельденген құрылғының %s күй файлын жаңарақ бағдарлама жазған (%s); ол өзгеріссіз қалдырылды</translation>
    </message>
    <message>
        <source>无法读取模拟设备的状态文件 %s（%s）</source>
        <translation>модельденген құрылғының %s күй файлын оқу мүмкін емес (%s)</translation>
    </message>
    <message>
        <source>无法写入模拟设备的状态文件 %s（%s）</source>
        <translation>модельденген құрылғының %s күй файлын жазу мүмкін емес (%s)</translation>
    </message>
    <message>
        <source>该设备上次更新停止于 %s，第 %d 个映像（共 %d 个）</source>
        <translation>осы құрылғының соңғы жаңартуы %s кезінде тоқтады, %d-бейне, барлығы %d</translation>
    </message>
    <message>
        <source>该设备上次更新停止于重启进入更新环境时</source>
        <translation>осы құрылғының соңғы жаңартуы жаңарту ортасына қайта іске қосылу кезінде тоқтады</translation>
    </message>
    <message>
        <source>该设备上次更新停止于重启离开更新环境时</source>
        <translation>осы құрылғының соңғы жаңартуы жаңарту ортасынан шығып қайта іске қосылу кезінде тоқтады</translation>
    </message>
    <message>
        <source>记录文件在第 %d 行用完</source>
        <translation>жазба %d-жолда таусылды</translation>
    </message>
    <message>
        <source>无法读取记录文件 %s</source>
        <translation>%s жазбасын оқу мүмкін емес</translation>
    </message>
    <message>
        <source>记录文件 %s 不是普通文件</source>
        <translation>%s жазбасы қарапайым файл емес</translation>
    </message>
    <message>
        <source>记录文件 %s 的格式或版本未知（只支持 tavlin-trace 第 1 版）</source>
        <translation>%s жазбасының пішімі не нұсқасы белгісіз (тек tavlin-trace 1-нұсқасына қолдау бар)</translation>
    </message>
    <message>
        <source>记录文件 %s 的第 %d 行无法解析</source>
        <translation>%s жазбасы: %d-жолды талдау мүмкін емес</translation>
    </message>
    <message>
        <source>无法创建记录文件 %s</source>
        <translation>%s жазбасын жасау мүмкін емес</translation>
    </message>
    <message>
        <source>回放未完成：记录中还有 %d 个输出报告未发送</source>
        <translation>қайта ойнату ерте тоқтады: жазбаның %d шығыс есебі жіберілмеді</translation>
    </message>
    <message>
        <source>记录文件 %s 不完整：记录在运行结束前中断</source>
        <translation>%s жазбасы толық емес: ол іске қосу аяқталмай тұрып үзілді</translation>
    </message>
    <message>
        <source>--replay-pace 只接受 recorded 或 immediate</source>
        <translation>--replay-pace тек recorded немесе immediate қабылдайды</translation>
    </message>
    <message>
        <source>--replay 不能与 --simulate 或 --record 一起使用</source>
        <translation>--replay опциясын --simulate немесе --record опциясымен бірге қолдануға болмайды</translation>
    </message>
</context>
</TS>
