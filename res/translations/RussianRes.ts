<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="zh_CN">
<context>
    <name>Tavlin</name>
    <message>
        <source>关于 Tavlin(&amp;A)...</source>
        <translation>&amp;О программе Tavlin...</translation>
    </message>
    <message>
        <source>正在调节曝光参数，请稍候……
</source>
        <translation>Идёт настройка параметров экспозиции, подождите...
</translation>
    </message>
    <message>
        <source>设备检测完成。
</source>
        <translation>Обнаружение устройства завершено.
</translation>
    </message>
    <message>
        <source>未检测到相应设备，请确认连接情况。
</source>
        <translation>Соответствующее устройство не обнаружено. Проверьте подключение.
</translation>
    </message>
    <message>
        <source>正在检测设备，请稍候...
</source>
        <translation>Идёт обнаружение устройства, подождите...
</translation>
    </message>
    <message>
        <source>曝光调节结束，当前光学参数为:%d，%d，%d;

0x%02x，0x%02x。
</source>
        <translation>Настройка экспозиции завершена. Текущие оптические параметры: %d, %d, %d;

0x%02x, 0x%02x.
</translation>
    </message>
    <message>
        <source>正在搜索最佳起始行、起止列，请稍候.....
</source>
        <translation>Поиск оптимальной начальной строки и начального и конечного столбцов, подождите...
</translation>
    </message>
    <message>
        <source>设备已拔出,请点击"Esc"退出调平.
</source>
        <translation>Устройство отключено. Нажмите "Esc", чтобы выйти из выравнивания.
</translation>
    </message>
    <message>
        <source>标定模式</source>
        <translation>Режим калибровки</translation>
    </message>
    <message>
        <source>工作模式</source>
        <translation>Рабочий режим</translation>
    </message>
    <message>
        <source>确定所用图像行成功！当前光学参数为:%d，%d，%d

下面请进行曝光调节。
</source>
        <translation>Используемые строки изображения успешно определены! Текущие оптические параметры: %d, %d, %d

Теперь выполните настройку экспозиции.
</translation>
    </message>
    <message>
        <source>调平提示：
首先调节起始行使亮区处于显示区(自动)；
如果提示图像行选取失败，请调节光学模组水平及角度直至选取成功(调节后，按空格键显示图像)；
然后进行曝光调节；
最后确定退出。
</source>
        <translation>Подсказка по выравниванию:
Сначала настройте начальную строку так, чтобы светлая область оказалась в области отображения (автоматически);
если появится сообщение о том, что выбрать строки изображения не удалось, регулируйте горизонтальность и угол оптического модуля, пока выбор не пройдёт успешно (после регулировки нажмите пробел, чтобы показать изображение);
затем выполните настройку экспозиции;
в конце подтвердите выход.
</translation>
    </message>
    <message>
        <source>正在初始化设备，请稍候...</source>
        <translation>Инициализация устройства, подождите...</translation>
    </message>
    <message>
        <source>请先调节曝光参数！
</source>
        <translation>Сначала настройте параметры экспозиции!
</translation>
    </message>
    <message>
        <source>请先转化为标定模式，再进行标定！
</source>
        <translation>Перед калибровкой переключитесь в режим калибровки!
</translation>
    </message>
    <message>
        <source>当前模式为工作模式！
</source>
        <translation>Текущий режим — рабочий!
</translation>
    </message>
    <message>
        <source>当前模式为标定模式！
</source>
        <translation>Текущий режим — режим калибровки!
</translation>
    </message>
    <message>
        <source>模式转换失败，请重新尝试！
</source>
        <translation>Не удалось переключить режим, попробуйте ещё раз!
</translation>
    </message>
    <message>
        <source>起始行查找失败，请先退出，重新调平!
</source>
        <translation>Не удалось найти начальную строку. Выйдите и выполните выравнивание заново!
</translation>
    </message>
    <message>
        <source>起始行配置失败，请先退出，重新调平!
</source>
        <translation>Не удалось настроить начальную строку. Выйдите и выполните выравнивание заново!
</translation>
    </message>
    <message>
        <source>起止列查找失败，请先退出，重新调平!
</source>
        <translation>Не удалось найти начальный и конечный столбцы. Выйдите и выполните выравнивание заново!
</translation>
    </message>
    <message>
        <source>拼行失败，请先退出，重新调平!
</source>
        <translation>Не удалось сшить строки. Выйдите и выполните выравнивание заново!
</translation>
    </message>
    <message>
        <source>获取 IMAGE Version 失败!
</source>
        <translation>Не удалось получить версию IMAGE!
</translation>
    </message>
    <message>
        <source>曝光调节失败，请重新调节。
</source>
        <translation>Не удалось настроить экспозицию. Повторите настройку.
</translation>
    </message>
    <message>
        <source>环境准备完毕，请选择配置文件进行更新！
</source>
        <translation>Среда подготовлена. Выберите файл конфигурации для обновления!
</translation>
    </message>
    <message>
        <source>环境配置失败，请退出重试!
</source>
        <translation>Не удалось настроить среду. Выйдите и повторите попытку!
</translation>
    </message>
    <message>
        <source>设备未准备好，请先更新固件.
</source>
        <translation>Устройство не готово. Сначала обновите прошивку.
</translation>
    </message>
    <message>
        <source>已找到设备，但当前用户无权打开它。请安装软件包中的 udev 规则，然后重新插拔设备。
</source>
        <translation>Устройство найдено, но у пользователя нет доступа к нему. Установите правила udev из пакета и переподключите его.
</translation>
    </message>
    <message>
        <source>Master: </source>
        <translation>Ведущий: </translation>
    </message>
    <message>
        <source>Slave: </source>
        <translation>Ведомый: </translation>
    </message>
    <message>
        <source>无法写入日志文件夹 %s（%s）。
</source>
        <translation>Невозможно записать в папку журнала %s (%s).
</translation>
    </message>
    <message>
        <source>日志文件 %s 不完整：部分记录未能写入。
</source>
        <translation>Журнал %s неполон: некоторые записи не удалось записать.
</translation>
    </message>
    <message>
        <source>设备已被其他程序占用，或当前用户无权打开它。请关闭使用该设备的其他程序，或申请打开它的权限。
</source>
        <translation>Устройство занято другой программой, или у пользователя нет права открывать его. Закройте эту программу или попросите право открывать устройство.
</translation>
    </message>
    <message>
        <source>Tavlin 0.98</source>
        <translation>Tavlin 0.98</translation>
    </message>
    <message>
        <source>静态</source>
        <translation>Статический</translation>
    </message>
    <message>
        <source>调平</source>
        <translation>Выравнивание</translation>
    </message>
    <message>
        <source>标定</source>
        <translation>Калибровка</translation>
    </message>
    <message>
        <source>更新固件</source>
        <translation>Обновить прошивку</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Switch: </source>
        <translation>Переключить: </translation>
    </message>
    <message>
        <source>FPGA 下载:</source>
        <translation>Загрузка FPGA:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>download</source>
        <translation>загрузить</translation>
    </message>
    <message>
        <source>SCRIPT:</source>
        <translation>СКРИПТ:</translation>
    </message>
    <message>
        <source>runscript</source>
        <translation>выполнить скрипт</translation>
    </message>
    <message>
        <source>Step Debug</source>
        <translation>Пошаговая отладка</translation>
    </message>
    <message>
        <source>Reg Addr(HEX)</source>
        <translation>Адрес регистра (HEX)</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Значение</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Датчик</translation>
    </message>
    <message>
        <source>Slave</source>
        <translation>Ведомый</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Записать</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Прочитать</translation>
    </message>
    <message>
        <source>client adjust</source>
        <translation>клиентская настройка</translation>
    </message>
    <message>
        <source>client calibration</source>
        <translation>клиентская калибровка</translation>
    </message>
    <message>
        <source>FW版本</source>
        <translation>Версия прошивки</translation>
    </message>
    <message>
        <source>clear</source>
        <translation>очистить</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Загрузка</translation>
    </message>
    <message>
        <source>脚本</source>
        <translation>Скрипт</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Предпросмотр</translation>
    </message>
    <message>
        <source>关于 Tavlin</source>
        <translation>О программе Tavlin</translation>
    </message>
    <message>
        <source>Tavlin，1.0 版</source>
        <translation>Tavlin, версия 1.0</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>ini Files(*.bin)|*.bin|all Files(*.*)|*.*||</source>
        <translation>Файлы BIN (*.bin)|*.bin|Все файлы (*.*)|*.*||</translation>
    </message>
    <message>
        <source>ini Files(*.ini)|*.ini|all Files(*.*)|*.*||</source>
        <translation>Файлы INI (*.ini)|*.ini|Все файлы (*.*)|*.*||</translation>
    </message>
    <message>
        <source>运行记录</source>
        <translation>Записи запусков</translation>
    </message>
    <message>
        <source>端口：</source>
        <translation>Порт:</translation>
    </message>
    <message>
        <source>全部端口</source>
        <translation>Все порты</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Время</translation>
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
        <translation>Итог</translation>
    </message>
    <message>
        <source>退出状态</source>
        <translation>Код выхода</translation>
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
        <translation>Версии после</translation>
    </message>
    <message>
        <source>无法读取运行记录数据库 %s：%s</source>
        <translation>не удалось прочитать базу записей о запусках %s: %s</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>日志文件 %s 不是普通文件</source>
        <translation>Файл журнала %s не является обычным файлом</translation>
    </message>
    <message>
        <source>%s 不是普通文件</source>
        <translation>%s не является обычным файлом</translation>
    </message>
    <message>
        <source>意外错误，运行已结束：%s</source>
        <translation>непредвиденная ошибка, работа завершена: %s</translation>
    </message>
    <message>
        <source>标定已完成。按空格键检查标定，按Esc退出。
</source>
        <translation>Калибровка завершена. Нажмите Пробел, чтобы проверить калибровку, или Esc для выхода.
</translation>
    </message>
    <message>
        <source>按空格键检查标定，按Esc退出。
</source>
        <translation>Нажмите Пробел, чтобы проверить калибровку, или Esc для выхода.
</translation>
    </message>
    <message>
        <source>请用触摸笔点击十字星中心（检查点 %d/%d）。按Esc退出。
</source>
        <translation>Коснитесь стилусом центра крестика (контрольная точка %d/%d). Нажмите Esc для выхода.
</translation>
    </message>
    <message>
        <source>触摸位置离十字星太远，请重新点击（检查点 %d/%d）。
</source>
        <translation>Касание слишком далеко от крестика. Коснитесь его ещё раз (контрольная точка %d/%d).
</translation>
    </message>
    <message>
        <source>屏幕太小，无法在距边缘至少10毫米处放置检查点。按Esc退出。
</source>
        <translation>Экран слишком мал, чтобы разместить контрольные точки не ближе 10 мм от краёв. Нажмите Esc для выхода.
</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>ГОДЕН</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>НЕ ГОДЕН</translation>
    </message>
    <message>
        <source>无法判定</source>
        <translation>НЕТ ВЕРДИКТА</translation>
    </message>
    <message>
        <source>允许误差 %.1f 毫米，误差向量放大10倍显示。</source>
        <translation>Допуск %.1f мм; векторы ошибок показаны в 10 раз длиннее.</translation>
    </message>
    <message>
        <source>系统未提供屏幕的物理尺寸，误差只能以像素表示。</source>
        <translation>Система не сообщает физический размер экрана: ошибки указаны только в пикселях.</translation>
    </message>
    <message>
        <source>检查点</source>
        <translation>Точка</translation>
    </message>
    <message>
        <source>误差（像素）</source>
        <translation>Ошибка (пикс.)</translation>
    </message>
    <message>
        <source>误差（毫米）</source>
        <translation>Ошибка (мм)</translation>
    </message>
    <message>
        <source>输入</source>
        <translation>Ввод</translation>
    </message>
    <message>
        <source>触摸</source>
        <translation>касание</translation>
    </message>
    <message>
        <source>鼠标</source>
        <translation>мышь</translation>
    </message>
    <message>
        <source>接受</source>
        <translation>Принять</translation>
    </message>
    <message>
        <source>重新检查</source>
        <translation>Проверить снова</translation>
    </message>
    <message>
        <source>重新标定</source>
        <translation>Откалибровать заново</translation>
    </message>
    <message>
        <source>对话框</source>
        <translation>Диалог</translation>
    </message>
    <message>
        <source>标定初始化失败，请先退出 , 重新标定!
</source>
        <translation>Не удалось инициализировать калибровку. Выйдите и выполните калибровку заново!
</translation>
    </message>
    <message>
        <source>请用触摸笔垂直点击十字星中心，进行标定。
</source>
        <translation>Для калибровки коснитесь стилусом центра крестика, держа его вертикально.
</translation>
    </message>
    <message>
        <source>设备已拔出,请按Esc退出。</source>
        <translation>Устройство отключено. Нажмите Esc для выхода.</translation>
    </message>
    <message>
        <source>标定已完成，请退出。
</source>
        <translation>Калибровка завершена. Выйдите из программы.
</translation>
    </message>
    <message>
        <source>标定数据保存失败，请先退出，重新标定!
</source>
        <translation>Не удалось сохранить данные калибровки. Выйдите и выполните калибровку заново!
</translation>
    </message>
    <message>
        <source>设备初始化失败，请退出然后重新进入。
</source>
        <translation>Не удалось инициализировать устройство. Выйдите и откройте окно снова.
</translation>
    </message>
    <message>
        <source>正在初始化设备，请稍候......
</source>
        <translation>Инициализация устройства, подождите......
</translation>
    </message>
    <message>
        <source>正在保存标定数据，请勿触摸屏幕…… %d%%
</source>
        <translation>Сохранение данных калибровки, не касайтесь экрана... %d%%
</translation>
    </message>
    <message>
        <source>系统未提供屏幕的物理尺寸，无法以毫米判定。请输入屏幕显示区域的宽和高（毫米，例如 527x296）后按回车；直接按回车则只以像素检查。按Esc退出。
</source>
        <translation>Система не сообщает физический размер этого экрана, поэтому оценка в миллиметрах невозможна. Введите ширину и высоту области изображения в миллиметрах (например, 527x296) и нажмите Enter; Enter без размера — проверка только в пикселях. Нажмите Esc для выхода.
</translation>
    </message>
    <message>
        <source>“%s”不是以毫米表示的屏幕尺寸。
</source>
        <translation>«%s» — не размер экрана в миллиметрах.
</translation>
    </message>
    <message>
        <source>标定检查所用的屏幕尺寸，单位毫米（例如 527x296），优先于显示器报告的尺寸</source>
        <translation>размер экрана в миллиметрах для проверки калибровки (например, 527x296), важнее размера от монитора</translation>
    </message>
    <message>
        <source>宽x高</source>
        <translation>ШxВ</translation>
    </message>
    <message>
        <source>选项 --screen-size 需要以毫米表示的宽和高，例如 527x296: %s
</source>
        <translation>параметру --screen-size нужны ширина и высота в миллиметрах, например 527x296: %s
</translation>
    </message>
    <message>
        <source>进程被 %s 终止</source>
        <translation>процесс завершён из-за %s</translation>
    </message>
    <message>
        <source>进程报告成功，但以退出状态 %d 结束</source>
        <translation>процесс сообщил об успехе, но завершился с кодом выхода %d</translation>
    </message>
    <message>
        <source>此版本的 tavlin-cli 不能保存图片（--png）</source>
        <translation>Эта сборка tavlin-cli не умеет сохранять изображения (--png)</translation>
    </message>
    <message>
        <source>无法写入 %s：%s</source>
        <translation>Не удалось записать %s: %s</translation>
    </message>
    <message>
        <source>运行记录未能保存到 %s：%s</source>
        <translation>запись о запуске не удалось сохранить в %s: %s</translation>
    </message>
    <message>
        <source>results：未知或不完整的选项 '%s'</source>
        <translation>results: неизвестный или неполный параметр '%s'</translation>
    </message>
    <message>
        <source>--last 只接受从 1 开始的数量，而不是 '%s'</source>
        <translation>--last принимает количество от 1, а не '%s'</translation>
    </message>
    <message>
        <source>--since 需要日期（YYYY-MM-DD），而不是 '%s'</source>
        <translation>--since требует дату (YYYY-MM-DD), а не '%s'</translation>
    </message>
    <message>
        <source>已导出 %d 条运行记录到 %s</source>
        <translation>экспортировано записей о запусках: %d, в %s</translation>
    </message>
    <message>
        <source>无法写入 %s</source>
        <translation>невозможно записать %s</translation>
    </message>
    <message>
        <source>运行记录已关闭（--results none）</source>
        <translation>записи о запусках отключены (--results none)</translation>
    </message>
    <message>
        <source>没有运行记录数据库 %s</source>
        <translation>нет базы записей о запусках %s</translation>
    </message>
    <message>
        <source>此版本不保存运行记录</source>
        <translation>эта сборка не сохраняет записи о запусках</translation>
    </message>
    <message>
        <source>运行记录未能上传到 %s：%s（%d 条记录等待下次上传）</source>
        <translation>записи о запусках не удалось отправить на %s: %s (%d записей ждут следующей отправки)</translation>
    </message>
    <message>
        <source>已上传 %d 条运行记录到 %s</source>
        <translation>отправлено записей о запусках: %d, на %s</translation>
    </message>
    <message>
        <source>没有等待上传的运行记录</source>
        <translation>нет записей о запусках, ожидающих отправки</translation>
    </message>
    <message>
        <source>没有给出产线服务器（--results-server URL 或环境变量 TAVLIN_RESULTS_SERVER）</source>
        <translation>сервер линии не задан (--results-server URL или переменная окружения TAVLIN_RESULTS_SERVER)</translation>
    </message>
    <message>
        <source>无法读取产线服务器的地址（libpq 连接字符串或 URI）</source>
        <translation>не удаётся прочитать адрес сервера линии (строка подключения libpq или URI)</translation>
    </message>
    <message>
        <source>此版本不上传运行记录</source>
        <translation>эта сборка не отправляет записи о запусках</translation>
    </message>
    <message>
        <source>继续该设备未完成的更新：%s</source>
        <translation>возобновление незавершённого обновления этого устройства: %s</translation>
    </message>
    <message>
        <source>端口 %s 上的设备没有未完成的更新可继续</source>
        <translation>у устройства на порту %s нет незавершённого обновления для возобновления</translation>
    </message>
    <message>
        <source>--resume 需要运行记录（不能与 --results none 一起使用）</source>
        <translation>--resume нужны записи о запусках (не с --results none)</translation>
    </message>
    <message>
        <source>请在 %s 中运行 update --resume：更新包的映像文件名相对于该文件夹</source>
        <translation>запустите update --resume в %s: пакет называет свои образы относительно этой папки</translation>
    </message>
    <message>
        <source>更新包自上次更新以来已更改，不予继续：%s</source>
        <translation>пакет изменился после последнего обновления, поэтому оно не возобновляется: %s</translation>
    </message>
    <message>
        <source>应用固件</source>
        <translation>приложение</translation>
    </message>
    <message>
        <source>更新环境</source>
        <translation>обновление</translation>
    </message>
    <message>
        <source>--all 只能用于 versions、mode 和 update</source>
        <translation>--all работает только с versions, mode и update</translation>
    </message>
    <message>
        <source>--all 不能与 --device、--record 或 --replay 一起使用</source>
        <translation>--all нельзя использовать вместе с --device, --record или --replay</translation>
    </message>
    <message>
        <source>[%s] 成功</source>
        <translation>[%s] успешно</translation>
    </message>
    <message>
        <source>[%s] 失败：%s</source>
        <translation>[%s] ошибка: %s</translation>
    </message>
    <message>
        <source>全部 %d 台设备成功</source>
        <translation>Все устройства (%d) выполнены успешно</translation>
    </message>
    <message>
        <source>%d 台设备中有 %d 台失败</source>
        <translation>Устройств: %d, с ошибкой: %d</translation>
    </message>
    <message>
        <source>无法为端口 %s 启动进程：%s</source>
        <translation>Не удалось запустить процесс для порта %s: %s</translation>
    </message>
    <message>
        <source>进程结束时没有给出结果（退出状态 %d）</source>
        <translation>Процесс завершился без результата (код выхода %d)</translation>
    </message>
    <message>
        <source>系统未给出该设备的 USB 端口，无法单独选择它</source>
        <translation>Система не сообщает USB-порт этого устройства, поэтому его нельзя выбрать отдельно</translation>
    </message>
    <message>
        <source>用法:
</source>
        <translation>использование:
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
        <translation>Выполняет одну операцию с устройством теми же рабочими потоками, потоком команд,
обнаружением и журналом (Tavlin_log.txt в текущей папке), что и окно Tavlin.

команды:
  list                     перечисляет подключённые устройства, по одному в строке:
                           USB-порт, код продукта, прикладная прошивка или среда
                           обновления, системный путь (код выхода 3: ни одного)
  detect                   обнаруживает устройство; печатает текст состояния
  mode work                переводит устройство в рабочий режим
  mode calibration         переводит устройство в режим калибровки (затем
                           показывает версии образов, как переключатель окна)
  versions                 читает и печатает версии образов обоих датчиков
  read [--i2c] ADDR        читает один регистр; ADDR читается как в панели Step
                           Debug (префикс 0x: шестнадцатеричное, иначе десятичное;
                           биты 24-25 выбирают пространство регистров, бит 28 —
                           датчик Slave)
  write [--i2c] ADDR VALUE записывает один регистр (младший байт VALUE)
  script FILE              выполняет скрипт регистров
  fpga FILE                загружает код FPGA (индикатор хода в терминале)
  update PACKAGE [--replug-timeout SECONDS] [--verify]
                           обновляет образы прошивки, названные в файле пакета,
                           как инструмент прошивки окна: устройство перезапускается
                           в среде обновления (ожидание до SECONDS, по умолчанию
                           20), образы записываются, устройство возвращается;
                           --verify затем сравнивает сообщённые им версии с пакетом
  level [--frames N] [--exposure] [--png DIR]
                           выравнивает оптические модули: поиск, N циклов
                           предпросмотра (по умолчанию 1), экспозиция с --exposure
                           (затем выход по OK, режим 0xEE; иначе по Отмене, рабочий
                           режим) и два снимка в DIR/master.png и DIR/slave.png
                           (DIR создаётся заранее); каждая строка состояния
                           начинается с имени своего датчика
  layout WxH               печатает пятнадцать точек калибровки экрана W x H, по
                           одной в строке: номер, x, y, код точки (без устройства)
  calibrate [--screen WxH] [--target-limit SECONDS]
                           выполняет калибровку касаний для экрана W x H (по
                           умолчанию 1920x1080): печатает указания и каждую точку,
                           когда к ней переходит перекрестие, и процент сохранения
                           по разу на значение (на терминале одна строка
                           перерисовывается на месте); код 0 по завершении; точка
                           без верного замера в течение SECONDS (по умолчанию 30)
                           завершает её (код 1), как и отключившееся устройство,
                           даже если оно вернулось
  results [--last N] [--port PORT] [--since YYYY-MM-DD]
                           перечисляет последние запуски из базы записей (по умолчанию
                           20), по строке на запуск
  results export [--csv] FILE
                           экспортирует записи в файл JSON (--csv: CSV, по строке на
                           измерение)

--i2c отправляет запрос датчика (I2C) вместо запроса FPGA, как поле Sensor.
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
Пакеты (устройство не нужно):
  package manifest PACKAGE записать PACKAGE.sha256: SHA-256 файла пакета и образов,
                           которые он называет (для подписи minisign -Sm PACKAGE.sha256)
  package verify PACKAGE   проверить подпись и хеши пакета, вывести ключ подписи и
                           доверенный комментарий (ошибка: код выхода 1)
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
прерванные обновления:
  update --resume [--replug-timeout SECONDS] [--verify]
                           снова целиком обновляет устройство пакетом последнего
                           незавершённого обновления на его порту, как его хранят
                           записи о запусках (сначала проверяются хеши и подпись
                           его файлов)
</translation>
    </message>
    <message>
        <source>update --resume 不接受固件包文件：它使用记录中的固件包</source>
        <translation>update --resume не принимает файл пакета: он берёт записанный</translation>
    </message>
    <message>
        <source>'package' 需要 manifest 或 verify 以及一个固件包文件</source>
        <translation>'package' требует manifest или verify и файл пакета</translation>
    </message>
    <message>
        <source>选项的值不能为空。

退出状态: 0 成功，1 操作失败，2 用法错误，3 没有设备，
</source>
        <translation>Значение параметра не может быть пустым.

коды выхода: 0 успех, 1 операция не удалась, 2 ошибка использования, 3 нет устройства,
</translation>
    </message>
    <message>
        <source>4 设备存在但当前用户无权打开（请安装软件包的 udev 规则，然后重新插拔设备）
</source>
        <translation>4 устройство есть, но этот пользователь не может его открыть (установите правила
udev из пакета, затем переподключите устройство)
</translation>
    </message>
    <message>
        <source>4 设备存在但无法打开（请关闭正在使用它的其他程序，或申请打开它的权限）
</source>
        <translation>4 устройство есть, но его нельзя открыть (закройте другую программу, которая его
использует, или попросите право его открывать)
</translation>
    </message>
    <message>
        <source>%s（见 --help）</source>
        <translation>%s (см. --help)</translation>
    </message>
    <message>
        <source>没有给出命令</source>
        <translation>команда не указана</translation>
    </message>
    <message>
        <source>未知命令 '%s'</source>
        <translation>неизвестная команда '%s'</translation>
    </message>
    <message>
        <source>'%s' 的参数为空</source>
        <translation>'%s' получила пустой аргумент</translation>
    </message>
    <message>
        <source>'%s' 不接受参数</source>
        <translation>'%s' не принимает аргументов</translation>
    </message>
    <message>
        <source>'%s' 需要 1 个参数</source>
        <translation>'%s' принимает 1 аргумент</translation>
    </message>
    <message>
        <source>'%s' 需要 %d 个参数</source>
        <translation>'%s' принимает аргументов: %d</translation>
    </message>
    <message>
        <source>mode 只能是 'work' 或 'calibration'，而不是 '%s'</source>
        <translation>mode — это 'work' или 'calibration', а не '%s'</translation>
    </message>
    <message>
        <source>'%s' 不是寄存器地址</source>
        <translation>'%s' — не адрес регистра</translation>
    </message>
    <message>
        <source>--replug-timeout 只接受 1 到 3600 的秒数</source>
        <translation>--replug-timeout принимает число секунд от 1 до 3600</translation>
    </message>
    <message>
        <source>'update' 不接受参数 '%s'</source>
        <translation>лишний аргумент '%s' для 'update'</translation>
    </message>
    <message>
        <source>'update' 需要一个固件包文件</source>
        <translation>'update' требует файл пакета</translation>
    </message>
    <message>
        <source>--frames 只接受从 1 开始的周期数，而不是 '%s'</source>
        <translation>--frames принимает число циклов от 1, а не '%s'</translation>
    </message>
    <message>
        <source>level：未知或不完整的选项 '%s'</source>
        <translation>level: неизвестный или неполный параметр '%s'</translation>
    </message>
    <message>
        <source>'layout' 需要 1 个参数（WxH）</source>
        <translation>'layout' принимает 1 аргумент (WxH)</translation>
    </message>
    <message>
        <source>'calibrate' 只接受 --screen WxH 和 --target-limit SECONDS</source>
        <translation>'calibrate' принимает только --screen WxH и --target-limit SECONDS</translation>
    </message>
    <message>
        <source>'%s' 不是 1 到 3600 的秒数</source>
        <translation>'%s' — не число секунд от 1 до 3600</translation>
    </message>
    <message>
        <source>'%s' 不是屏幕尺寸（例如 1920x1080）</source>
        <translation>'%s' — не размер экрана вида 1920x1080</translation>
    </message>
    <message>
        <source>寄存器地址不是数字！
</source>
        <translation>Адрес регистра не является числом!
</translation>
    </message>
    <message>
        <source>寄存器值不是数字！
</source>
        <translation>Значение регистра не является числом!
</translation>
    </message>
    <message>
        <source>预览未停止，下载未开始！
</source>
        <translation>Предпросмотр не остановился, загрузка не начата!
</translation>
    </message>
    <message>
        <source>另一个代码传输正在进行，请稍后再试！
</source>
        <translation>Идёт другая передача кода, повторите позже!
</translation>
    </message>
    <message>
        <source>脚本第 %d 行：未知命令 '%s'
</source>
        <translation>Строка %d скрипта: неизвестная команда '%s'
</translation>
    </message>
    <message>
        <source>脚本第 %d 行：操作数 '%s' 不是数字
</source>
        <translation>Строка %d скрипта: операнд '%s' не является числом
</translation>
    </message>
    <message>
        <source>脚本第 %d 行：操作数 '%s' 是负数
</source>
        <translation>Строка %d скрипта: операнд '%s' отрицательный
</translation>
    </message>
    <message>
        <source>脚本未运行，没有向设备发送任何命令：请先改正以上各行。
</source>
        <translation>Скрипт не выполнен, на устройство ничего не отправлено: сначала исправьте строки выше.
</translation>
    </message>
    <message>
        <source>正在准备环境，请稍候...
</source>
        <translation>Подготовка среды, подождите...
</translation>
    </message>
    <message>
        <source>请先打开配置文件(.ini格式)!
</source>
        <translation>Сначала откройте файл конфигурации (.ini)!
</translation>
    </message>
    <message>
        <source>正在更新，请稍候!
</source>
        <translation>Идёт обновление, подождите!
</translation>
    </message>
    <message>
        <source>配置文件不正确，请重新打开!
</source>
        <translation>Файл конфигурации неверен, откройте его снова!
</translation>
    </message>
    <message>
        <source>没有需要更新的固件，请退出!
</source>
        <translation>Нет прошивки для обновления, выйдите!
</translation>
    </message>
    <message>
        <source>打开文件失败,请确认配置文件中的.bin文件在当前目录!
</source>
        <translation>Не удалось открыть файл; убедитесь, что файл .bin из файла конфигурации находится в текущем каталоге!
</translation>
    </message>
    <message>
        <source>配置文件更新失败,请退出重试!
</source>
        <translation>Обновление из файла конфигурации не удалось, выйдите и повторите!
</translation>
    </message>
    <message>
        <source>开始烧写配置文件,请稍候...
</source>
        <translation>Запись образов началась, подождите...
</translation>
    </message>
    <message>
        <source>固件更新成功，请退出!
</source>
        <translation>Прошивка успешно обновлена, выйдите!
</translation>
    </message>
    <message>
        <source>Write Tavlin Left HInfo %dKB Success!
</source>
        <translation>Запись Tavlin Left HInfo %d КБ успешна!
</translation>
    </message>
    <message>
        <source>Write Tavlin Right HInfo %dKB Success!
</source>
        <translation>Запись Tavlin Right HInfo %d КБ успешна!
</translation>
    </message>
    <message>
        <source>Write Tavlin Left LInfo %dKB Success!
</source>
        <translation>Запись Tavlin Left LInfo %d КБ успешна!
</translation>
    </message>
    <message>
        <source>Write Tavlin Right RInfo %dKB Success!
</source>
        <translation>Запись Tavlin Right RInfo %d КБ успешна!
</translation>
    </message>
    <message>
        <source>更新后的版本与配置文件不符: M--%08x, S--%08x
</source>
        <translation>Версии после обновления не совпадают с файлом конфигурации: M--%08x, S--%08x
</translation>
    </message>
    <message>
        <source>切换模式</source>
        <translation>Сменить режим</translation>
    </message>
    <message>
        <source>更新进度   ：</source>
        <translation>Ход обновления   :</translation>
    </message>
    <message>
        <source>配置文件...</source>
        <translation>Файл конфигурации...</translation>
    </message>
    <message>
        <source>一键更新</source>
        <translation>Обновить одним нажатием</translation>
    </message>
    <message>
        <source>更新IMAGE:</source>
        <translation>Обновить IMAGE:</translation>
    </message>
    <message>
        <source>更新 FPGA:</source>
        <translation>Обновить FPGA:</translation>
    </message>
    <message>
        <source>更新FPGA</source>
        <translation>Обновить FPGA</translation>
    </message>
    <message>
        <source>读取IMAGE版本信息</source>
        <translation>Прочитать версию IMAGE</translation>
    </message>
    <message>
        <source>更新IMAGE版本信息</source>
        <translation>Обновить версию IMAGE</translation>
    </message>
    <message>
        <source>读取FPGA版本信息</source>
        <translation>Прочитать версию FPGA</translation>
    </message>
    <message>
        <source>更新FPGA版本信息</source>
        <translation>Обновить версию FPGA</translation>
    </message>
    <message>
        <source>固件包校验失败: %s
</source>
        <translation>Пакет не прошёл проверку: %s
</translation>
    </message>
    <message>
        <source>本工位只接受签名的固件包: %s
</source>
        <translation>Это рабочее место принимает только подписанные пакеты: %s
</translation>
    </message>
    <message>
        <source>警告: 固件包 %s 没有签名
</source>
        <translation>Предупреждение: пакет %s не подписан
</translation>
    </message>
    <message>
        <source>签名密钥 %s: %s</source>
        <translation>Подписан ключом %s: %s</translation>
    </message>
    <message>
        <source>未签名</source>
        <translation>не подписан</translation>
    </message>
    <message>
        <source>固件包校验通过: 签名密钥 %s, 可信注释: %s
</source>
        <translation>Пакет проверен: подписан ключом %s, доверенный комментарий: %s
</translation>
    </message>
    <message>
        <source>已写入 %s
</source>
        <translation>Записан %s
</translation>
    </message>
    <message>
        <source>起始行</source>
        <translation>Начальная строка</translation>
    </message>
    <message>
        <source>角度</source>
        <translation>Угол</translation>
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
        <translation>Настроить экспозицию</translation>
    </message>
    <message>
        <source>行首向左</source>
        <translation>Начало строки влево</translation>
    </message>
    <message>
        <source>行首向右</source>
        <translation>Начало строки вправо</translation>
    </message>
    <message>
        <source>行尾向左</source>
        <translation>Конец строки влево</translation>
    </message>
    <message>
        <source>行尾向右</source>
        <translation>Конец строки вправо</translation>
    </message>
    <message>
        <source>保存信息</source>
        <translation>Сохранить сведения</translation>
    </message>
    <message>
        <source>预览图像缓冲区不可用，无法打开调平窗口。
</source>
        <translation>Буферы изображения предпросмотра недоступны; окно выравнивания не может открыться.
</translation>
    </message>
    <message>
        <source>连接了多台设备（端口：%s），请用 --device 指定其中一台</source>
        <translation>Подключено несколько устройств (порты: %s); выберите одно с помощью --device</translation>
    </message>
    <message>
        <source>端口 %s 上没有设备（已连接的设备在端口：%s）</source>
        <translation>на порту %s нет устройства (подключённые устройства на портах %s)</translation>
    </message>
    <message>
        <source>用法: %s [选项]
</source>
        <translation>Использование: %s [параметры]
</translation>
    </message>
    <message>
        <source>选项:
</source>
        <translation>Параметры:
</translation>
    </message>
    <message>
        <source>显示此帮助并退出</source>
        <translation>показать эту справку и выйти</translation>
    </message>
    <message>
        <source>显示版本号并退出</source>
        <translation>показать версию и выйти</translation>
    </message>
    <message>
        <source>使用内置的模拟设备代替 USB 设备</source>
        <translation>использовать встроенное имитируемое устройство вместо USB-устройства</translation>
    </message>
    <message>
        <source>计划</source>
        <translation>план</translation>
    </message>
    <message>
        <source>模拟设备的故障计划（仅与 --simulate 一起使用）</source>
        <translation>план сбоев имитируемого устройства (только вместе с --simulate)</translation>
    </message>
    <message>
        <source>数量</source>
        <translation>число</translation>
    </message>
    <message>
        <source>模拟多台设备，端口为 sim-1 到 sim-N（仅与 --simulate 一起使用）</source>
        <translation>имитировать несколько устройств на портах sim-1 … sim-N (только с --simulate)</translation>
    </message>
    <message>
        <source>把模拟设备的闪存（映像、版本、模式）保存在文件中，供以后的运行使用（仅与 --simulate 一起使用）</source>
        <translation>хранить флеш-память имитируемого устройства (образы, версии, режим) в файле для следующих запусков (только с --simulate)</translation>
    </message>
    <message>
        <source>只使用该 USB 端口上的设备（端口见 tavlin-cli list）</source>
        <translation>работать только с устройством на этом USB-порту (порты: tavlin-cli list)</translation>
    </message>
    <message>
        <source>显示工程控制台</source>
        <translation>показать инженерную консоль</translation>
    </message>
    <message>
        <source>文件夹</source>
        <translation>папка</translation>
    </message>
    <message>
        <source>日志文件所在的文件夹（默认为当前目录；不存在时自动创建）</source>
        <translation>папка файла журнала (по умолчанию текущая; создаётся, если её нет)</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>ФАЙЛ</translation>
    </message>
    <message>
        <source>节奏</source>
        <translation>ТЕМП</translation>
    </message>
    <message>
        <source>把与设备之间的每个报告和设备的插拔记录到文件</source>
        <translation>записать в файл каждый отчёт обмена с устройством, а также его подключения и отключения</translation>
    </message>
    <message>
        <source>用记录的会话代替设备</source>
        <translation>воспроизвести записанный сеанс вместо устройства</translation>
    </message>
    <message>
        <source>每次设备运行的记录写入该 SQLite 数据库（默认：日志文件夹中的 Tavlin_results.sqlite；none：不保存）</source>
        <translation>хранить запись о каждом запуске на устройстве в этой базе SQLite (по умолчанию: Tavlin_results.sqlite в папке журнала; none: не хранить)</translation>
    </message>
    <message>
        <source>每次运行后把运行记录上传到产线的 PostgreSQL 服务器（libpq 连接字符串；未给出时读取 TAVLIN_RESULTS_SERVER）</source>
        <translation>после каждого запуска отправлять записи на сервер PostgreSQL линии (строка подключения libpq; иначе TAVLIN_RESULTS_SERVER)</translation>
    </message>
    <message>
        <source>把操作员写入运行记录</source>
        <translation>записывать оператора в записи о запусках</translation>
    </message>
    <message>
        <source>把批次写入运行记录</source>
        <translation>записывать партию в записи о запусках</translation>
    </message>
    <message>
        <source>recorded：保持记录的时间；immediate（默认）：立即应答</source>
        <translation>recorded: сохранять записанные интервалы; immediate (по умолчанию): отвечать сразу</translation>
    </message>
    <message>
        <source>打开标定检查，检查之前标定过的设备</source>
        <translation>открыть проверку калибровки для устройства, откалиброванного ранее</translation>
    </message>
    <message>
        <source>毫米</source>
        <translation>ММ</translation>
    </message>
    <message>
        <source>标定检查的允许误差，单位毫米（默认 2.0）</source>
        <translation>допуск проверки калибровки в миллиметрах (по умолчанию 2.0)</translation>
    </message>
    <message>
        <source>选项 --check-tolerance 需要一个大于 0 且不超过 50 的毫米数: %s
</source>
        <translation>параметру --check-tolerance нужно число миллиметров больше 0 и не больше 50: %s
</translation>
    </message>
    <message>
        <source>未知选项: %s
</source>
        <translation>неизвестный параметр: %s
</translation>
    </message>
    <message>
        <source>选项 %s 需要一个值
</source>
        <translation>параметру %s нужно значение
</translation>
    </message>
    <message>
        <source>选项 %s 不接受值
</source>
        <translation>параметр %s не принимает значения
</translation>
    </message>
    <message>
        <source>多余的参数: %s
</source>
        <translation>лишний аргумент: %s
</translation>
    </message>
    <message>
        <source>可用的选项请见 --help。
</source>
        <translation>Список параметров: --help.
</translation>
    </message>
    <message>
        <source>--log-dir 需要一个文件夹</source>
        <translation>--log-dir требует папку</translation>
    </message>
    <message>
        <source>--device 需要一个 USB 端口（见 tavlin-cli list）</source>
        <translation>--device требует USB-порт (см. tavlin-cli list)</translation>
    </message>
    <message>
        <source>--simulate 使用内置的模拟设备代替 USB 设备；
</source>
        <translation>--simulate использует встроенное имитируемое устройство вместо USB-устройства;
</translation>
    </message>
    <message>
        <source>--sim-devices N 在端口 sim-1 到 sim-N 上模拟 N 台设备。
</source>
        <translation>--sim-devices N имитирует N устройств на портах sim-1 … sim-N.
</translation>
    </message>
    <message>
        <source>--sim-state FILE 把模拟设备的闪存（映像、版本、模式）保存在 FILE 中，供以后的运行使用；
不是这种文件或已损坏的 FILE 会被拒绝（退出状态 2）并保持原样。
</source>
        <translation>--sim-state FILE хранит флеш-память имитируемого устройства (образы, версии, режим) в FILE
для следующих запусков; FILE, который не является таким файлом или повреждён, отклоняется
(код 2) и остаётся как есть.
</translation>
    </message>
    <message>
        <source>--device PORT 只使用该 USB 端口上的设备（见 list），并在该端口上跟随它的重启。
没有此选项时，连接了多台设备的运行会拒绝选择（退出状态 2）。
</source>
        <translation>--device PORT работает только с устройством на этом USB-порту (см. list) и следует за
ним при перезапусках на этом порту. Без него запуск отказывается выбирать, когда
подключено несколько устройств (код 2).
</translation>
    </message>
    <message>
        <source>--all 同时在每台连接的设备上执行 versions、mode 或 update，每台设备一个进程，
各自把日志写入自己的文件夹 DIR/PORT（DIR 来自 --log-dir，否则为当前文件夹）；
只有每台设备都成功时退出状态才为 0。
</source>
        <translation>--all выполняет versions, mode или update на всех подключённых устройствах сразу, по
процессу на устройство, каждый пишет журнал в свою папку DIR/PORT (DIR из --log-dir,
иначе текущая папка); код 0 только если все устройства завершились успешно.
</translation>
    </message>
    <message>
        <source>--json 在运行结束时在 stdout 上输出一行 JSON 对象（command、exit、result、
interrupted、reason、messages、device、log、elapsed_ms、tool_version 以及命令
的结果）；给人看的文字则输出到 stderr。
</source>
        <translation>--json завершает запуск одним JSON-объектом в одной строке на stdout (command, exit,
result, interrupted, reason, messages, device, log, elapsed_ms, tool_version и то, что
выдала команда); тексты для людей тогда идут в stderr.
</translation>
    </message>
    <message>
        <source>--log-dir DIR 把日志写入 DIR（不存在时创建；无法写入的文件夹立即以退出状态 2
结束运行）。
</source>
        <translation>--log-dir DIR пишет журнал в DIR (создаётся, если нет; папка, в которую нельзя писать,
сразу завершает запуск с кодом 2).
</translation>
    </message>
    <message>
        <source>--record FILE 把与设备之间的每个报告以及设备的插拔写入 FILE（JSON 行，见 README）。
</source>
        <translation>--record FILE записывает каждый отчёт к устройству и от него, а также его подключения и
отключения, в FILE (строки JSON, см. README).
</translation>
    </message>
    <message>
        <source>--replay FILE 用这样的记录代替设备回放；第一个与记录不同的输出报告使命令失败。
--replay-pace recorded 保持记录的时间（默认：立即应答），只能与 --replay 一起使用。
</source>
        <translation>--replay FILE воспроизводит такую запись вместо устройства; первый выходной отчёт,
отличный от записанного, приводит к ошибке команды. --replay-pace recorded сохраняет
записанные интервалы (по умолчанию: ответ сразу); требует --replay.
</translation>
    </message>
    <message>
        <source>--version 打印程序的版本并结束。
</source>
        <translation>--version печатает версию программы и завершает работу.
</translation>
    </message>
    <message>
        <source>--results FILE 把每次设备运行的记录写入 SQLite 数据库 FILE（默认：日志文件夹中的
Tavlin_results.sqlite；none 表示不保存记录）；记录在输出结果之前写入。
</source>
        <translation>--results FILE сохраняет запись каждого запуска на устройстве в базе SQLite FILE
(по умолчанию: Tavlin_results.sqlite в папке журнала; none — без записи); запись
сохраняется до того, как запуск сообщит результат.
</translation>
    </message>
    <message>
        <source>--results-server URL 把运行记录上传到产线的 PostgreSQL 服务器（libpq 连接字符串或
URI；未给出时读取环境变量 TAVLIN_RESULTS_SERVER；密码来自 libpq 的密码文件或
PGPASSWORD）：每次设备运行输出结果后最多尝试几秒，不影响退出状态；
results upload 发送所有等待上传的记录（全部发送：退出状态 0）。
</source>
        <translation>--results-server URL отправляет записи о запусках на сервер PostgreSQL линии (строка
подключения libpq или URI; без него — переменная окружения TAVLIN_RESULTS_SERVER;
пароль берётся из файла паролей libpq или PGPASSWORD): после того как запуск на
устройстве сообщил результат, не дольше нескольких секунд, никогда не меняя код
выхода; results upload отправляет все ожидающие записи (код выхода 0, когда ушли все).
</translation>
    </message>
    <message>
        <source>--operator NAME 把操作员写入运行记录。
</source>
        <translation>--operator NAME вносит оператора в запись о запуске.
</translation>
    </message>
    <message>
        <source>--lot LOT 把批次写入运行记录。
</source>
        <translation>--lot LOT вносит партию в запись о запуске.
</translation>
    </message>
    <message>
        <source>--require-record 运行记录未能保存时，运行以退出状态 1 结束。
</source>
        <translation>--require-record завершает с кодом 1 запуск, запись о котором не удалось сохранить.
</translation>
    </message>
    <message>
        <source>信任该公钥文件的密钥签名的固件包（可多次给出）</source>
        <translation>доверять пакетам, подписанным ключом из этого файла открытого ключа (можно указать несколько раз)</translation>
    </message>
    <message>
        <source>拒绝没有签名的固件包</source>
        <translation>отклонять неподписанные пакеты</translation>
    </message>
    <message>
        <source>--trusted-key FILE 信任 FILE（minisign 公钥文件）的密钥签名的固件包；可多次给出。
密钥文件夹中的每个 *.pub 也受信任（见 README）。
</source>
        <translation>--trusted-key FILE доверяет пакетам, подписанным ключом из FILE (файл открытого ключа minisign);
можно указать несколько раз. Каждому *.pub в папке ключей тоже доверяется (см. README).
</translation>
    </message>
    <message>
        <source>--require-signed 拒绝没有签名的固件包（密钥文件夹中有 require-signed 文件时也如此）。
</source>
        <translation>--require-signed отклоняет неподписанные пакеты (так же, как файл require-signed в папке ключей).
</translation>
    </message>
    <message>
        <source>值</source>
        <translation>значение</translation>
    </message>
    <message>
        <source>选项 %s 的值为空</source>
        <translation>параметр %s получил пустое значение</translation>
    </message>
    <message>
        <source>选项 %s 缺少值</source>
        <translation>параметру %s нужно значение</translation>
    </message>
    <message>
        <source>--sim-faults 需要 --simulate</source>
        <translation>--sim-faults требует --simulate</translation>
    </message>
    <message>
        <source>--sim-devices 需要 --simulate</source>
        <translation>--sim-devices требует --simulate</translation>
    </message>
    <message>
        <source>--sim-devices 只接受 1 到 %d 的设备数量</source>
        <translation>--sim-devices принимает число устройств от 1 до %d</translation>
    </message>
    <message>
        <source>--replay-pace 只能与 --replay 一起使用</source>
        <translation>--replay-pace используется только с --replay</translation>
    </message>
    <message>
        <source>--sim-state 需要 --simulate</source>
        <translation>--sim-state требует --simulate</translation>
    </message>
    <message>
        <source>--sim-state 只能用于一台模拟设备</source>
        <translation>--sim-state работает только с одним имитируемым устройством</translation>
    </message>
    <message>
        <source>%s 不是模拟设备的状态文件，已保持原样</source>
        <translation>%s не является файлом состояния имитируемого устройства; он оставлен как есть</translation>
    </message>
    <message>
        <source>模拟设备的状态文件 %s 已损坏（%s），已保持原样</source>
        <translation>файл состояния имитируемого устройства %s повреждён (%s); он оставлен как есть</translation>
    </message>
    <message>
        <source>模拟设备的状态文件 %s 是较新的程序写的（%s），已保持原样</source>
        <translation>файл состояния имитируемого устройства %s записан более новой программой (%s); он оставлен как есть</translation>
    </message>
    <message>
        <source>无法读取模拟设备的状态文件 %s（%s）</source>
        <translation>не удаётся прочитать файл состояния имитируемого устройства %s (%s)</translation>
    </message>
    <message>
        <source>无法写入模拟设备的状态文件 %s（%s）</source>
        <translation>не удаётся записать файл состояния имитируемого устройства %s (%s)</translation>
    </message>
    <message>
        <source>该设备上次更新停止于 %s，第 %d 个映像（共 %d 个）</source>
        <translation>последнее обновление этого устройства остановилось на %s, образ %d из %d</translation>
    </message>
    <message>
        <source>该设备上次更新停止于重启进入更新环境时</source>
        <translation>последнее обновление этого устройства остановилось при перезапуске в среду обновления</translation>
    </message>
    <message>
        <source>该设备上次更新停止于重启离开更新环境时</source>
        <translation>последнее обновление этого устройства остановилось при перезапуске из среды обновления</translation>
    </message>
    <message>
        <source>记录文件在第 %d 行用完</source>
        <translation>запись закончилась на строке %d</translation>
    </message>
    <message>
        <source>无法读取记录文件 %s</source>
        <translation>не удаётся прочитать запись %s</translation>
    </message>
    <message>
        <source>记录文件 %s 不是普通文件</source>
        <translation>запись %s не является обычным файлом</translation>
    </message>
    <message>
        <source>记录文件 %s 的格式或版本未知（只支持 tavlin-trace 第 1 版）</source>
        <translation>запись %s имеет неизвестный формат или версию (поддерживается только tavlin-trace версии 1)</translation>
    </message>
    <message>
        <source>记录文件 %s 的第 %d 行无法解析</source>
        <translation>запись %s: строка %d не разбирается</translation>
    </message>
    <message>
        <source>无法创建记录文件 %s</source>
        <translation>не удаётся создать запись %s</translation>
    </message>
    <message>
        <source>回放未完成：记录中还有 %d 个输出报告未发送</source>
        <translation>воспроизведение оборвалось: %d выходных отчётов записи так и не были отправлены</translation>
    </message>
    <message>
        <source>记录文件 %s 不完整：记录在运行结束前中断</source>
        <translation>запись %s неполна: она прервалась раньше, чем завершился запуск</translation>
    </message>
    <message>
        <source>--replay-pace 只接受 recorded 或 immediate</source>
        <translation>--replay-pace принимает recorded или immediate</translation>
    </message>
    <message>
        <source>--replay 不能与 --simulate 或 --record 一起使用</source>
        <translation>--replay нельзя использовать вместе с --simulate или --record</translation>
    </message>
</context>
</TS>
