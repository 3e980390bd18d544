<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="zh_CN">
<context>
    <name>Tavlin</name>
    <message>
        <source>关于 Tavlin(&amp;A)...</source>
        <translation>À &amp;propos de Tavlin...</translation>
    </message>
    <message>
        <source>正在调节曝光参数，请稍候……
</source>
        <translation>Réglage des paramètres d'exposition en cours, veuillez patienter...
</translation>
    </message>
    <message>
        <source>设备检测完成。
</source>
        <translation>Détection du périphérique terminée.
</translation>
    </message>
    <message>
        <source>未检测到相应设备，请确认连接情况。
</source>
        <translation>Aucun périphérique correspondant n'a été détecté. Veuillez vérifier la connexion.
</translation>
    </message>
    <message>
        <source>正在检测设备，请稍候...
</source>
        <translation>Détection du périphérique en cours, veuillez patienter...
</translation>
    </message>
    <message>
        <source>曝光调节结束，当前光学参数为:%d，%d，%d;

0x%02x，0x%02x。
</source>
        <translation>Réglage de l'exposition terminé. Paramètres optiques actuels : %d, %d, %d ;

0x%02x, 0x%02x.
</translation>
    </message>
    <message>
        <source>正在搜索最佳起始行、起止列，请稍候.....
</source>
        <translation>Recherche de la meilleure ligne de départ et des colonnes de début et de fin, veuillez patienter...
</translation>
    </message>
    <message>
        <source>设备已拔出,请点击"Esc"退出调平.
</source>
        <translation>Le périphérique a été débranché. Appuyez sur "Esc" pour quitter le nivellement.
</translation>
    </message>
    <message>
        <source>标定模式</source>
        <translation>Mode étalonnage</translation>
    </message>
    <message>
        <source>工作模式</source>
        <translation>Mode de fonctionnement</translation>
    </message>
    <message>
        <source>确定所用图像行成功！当前光学参数为:%d，%d，%d

下面请进行曝光调节。
</source>
        <translation>Les lignes d'image à utiliser ont été déterminées avec succès ! Paramètres optiques actuels : %d, %d, %d

Veuillez maintenant régler l'exposition.
</translation>
    </message>
    <message>
        <source>调平提示：
首先调节起始行使亮区处于显示区(自动)；
如果提示图像行选取失败，请调节光学模组水平及角度直至选取成功(调节后，按空格键显示图像)；
然后进行曝光调节；
最后确定退出。
</source>
        <translation>Conseils de nivellement :
Réglez d'abord la ligne de départ pour que la zone claire se trouve dans la zone d'affichage (automatique) ;
si un échec de la sélection des lignes d'image est signalé, réglez l'horizontalité et l'angle du module optique jusqu'à ce que la sélection réussisse (après le réglage, appuyez sur la barre d'espace pour afficher l'image) ;
réglez ensuite l'exposition ;
enfin, confirmez pour quitter.
</translation>
    </message>
    <message>
        <source>正在初始化设备，请稍候...</source>
        <translation>Initialisation du périphérique en cours, veuillez patienter...</translation>
    </message>
    <message>
        <source>请先调节曝光参数！
</source>
        <translation>Veuillez d'abord régler les paramètres d'exposition !
</translation>
    </message>
    <message>
        <source>请先转化为标定模式，再进行标定！
</source>
        <translation>Veuillez passer en mode étalonnage avant de lancer l'étalonnage !
</translation>
    </message>
    <message>
        <source>当前模式为工作模式！
</source>
        <translation>Le mode actuel est le mode de fonctionnement !
</translation>
    </message>
    <message>
        <source>当前模式为标定模式！
</source>
        <translation>Le mode actuel est le mode étalonnage !
</translation>
    </message>
    <message>
        <source>模式转换失败，请重新尝试！
</source>
        <translation>Échec du changement de mode, veuillez réessayer !
</translation>
    </message>
    <message>
        <source>起始行查找失败，请先退出，重新调平!
</source>
        <translation>Échec de la recherche de la ligne de départ. Veuillez quitter et refaire le nivellement !
</translation>
    </message>
    <message>
        <source>起始行配置失败，请先退出，重新调平!
</source>
        <translation>Échec de la configuration de la ligne de départ. Veuillez quitter et refaire le nivellement !
</translation>
    </message>
    <message>
        <source>起止列查找失败，请先退出，重新调平!
</source>
        <translation>Échec de la recherche des colonnes de début et de fin. Veuillez quitter et refaire le nivellement !
</translation>
    </message>
    <message>
        <source>拼行失败，请先退出，重新调平!
</source>
        <translation>Échec de l'assemblage des lignes. Veuillez quitter et refaire le nivellement !
</translation>
    </message>
    <message>
        <source>获取 IMAGE Version 失败!
</source>
        <translation>Impossible de lire la version IMAGE !
</translation>
    </message>
    <message>
        <source>曝光调节失败，请重新调节。
</source>
        <translation>Échec du réglage de l'exposition. Veuillez recommencer le réglage.
</translation>
    </message>
    <message>
        <source>环境准备完毕，请选择配置文件进行更新！
</source>
        <translation>L'environnement est prêt. Veuillez sélectionner un fichier de configuration pour la mise à jour !
</translation>
    </message>
    <message>
        <source>环境配置失败，请退出重试!
</source>
        <translation>Échec de la configuration de l'environnement. Veuillez quitter et réessayer !
</translation>
    </message>
    <message>
        <source>设备未准备好，请先更新固件.
</source>
        <translation>Le périphérique n'est pas prêt. Veuillez d'abord mettre à jour le micrologiciel.
</translation>
    </message>
    <message>
        <source>已找到设备，但当前用户无权打开它。请安装软件包中的 udev 规则，然后重新插拔设备。
</source>
        <translation>Périphérique trouvé, mais cet utilisateur ne peut pas l'ouvrir. Installez les règles udev du paquet, puis rebranchez-le.
</translation>
    </message>
    <message>
        <source>Master: </source>
        <translation>Maître : </translation>
    </message>
    <message>
        <source>Slave: </source>
        <translation>Esclave : </translation>
    </message>
    <message>
        <source>无法写入日志文件夹 %s（%s）。
</source>
        <translation>Impossible d'écrire dans le dossier du journal %s (%s).
</translation>
    </message>
    <message>
        <source>日志文件 %s 不完整：部分记录未能写入。
</source>
        <translation>Le journal %s est incomplet : certaines entrées n'ont pas pu être écrites.
</translation>
    </message>
    <message>
        <source>设备已被其他程序占用，或当前用户无权打开它。请关闭使用该设备的其他程序，或申请打开它的权限。
</source>
        <translation>Le périphérique est utilisé par un autre programme, ou cet utilisateur ne peut pas l'ouvrir. Fermez ce programme, ou demandez le droit d'ouvrir le périphérique.
</translation>
    </message>
    <message>
        <source>Tavlin 0.98</source>
        <translation>Tavlin 0.98</translation>
    </message>
    <message>
        <source>静态</source>
        <translation>Statique</translation>
    </message>
    <message>
        <source>调平</source>
        <translation>Nivellement</translation>
    </message>
    <message>
        <source>标定</source>
        <translation>Étalonnage</translation>
    </message>
    <message>
        <source>更新固件</source>
        <translation>Mettre à jour le micrologiciel</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Switch: </source>
        <translation>Basculer : </translation>
    </message>
    <message>
        <source>FPGA 下载:</source>
        <translation>Téléchargement FPGA :</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>download</source>
        <translation>télécharger</translation>
    </message>
    <message>
        <source>SCRIPT:</source>
        <translation>SCRIPT :</translation>
    </message>
    <message>
        <source>runscript</source>
        <translation>exécuter le script</translation>
    </message>
    <message>
        <source>Step Debug</source>
        <translation>Débogage pas à pas</translation>
    </message>
    <message>
        <source>Reg Addr(HEX)</source>
        <translation>Adr. registre (HEX)</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valeur</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Capteur</translation>
    </message>
    <message>
        <source>Slave</source>
        <translation>Esclave</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Écrire</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>client adjust</source>
        <translation>réglage client</translation>
    </message>
    <message>
        <source>client calibration</source>
        <translation>étalonnage client</translation>
    </message>
    <message>
        <source>FW版本</source>
        <translation>Version FW</translation>
    </message>
    <message>
        <source>clear</source>
        <translation>effacer</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Téléchargement</translation>
    </message>
    <message>
        <source>脚本</source>
        <translation>Script</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>关于 Tavlin</source>
        <translation>À propos de Tavlin</translation>
    </message>
    <message>
        <source>Tavlin，1.0 版</source>
        <translation>Tavlin, version 1.0</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>ini Files(*.bin)|*.bin|all Files(*.*)|*.*||</source>
        <translation>Fichiers BIN (*.bin)|*.bin|Tous les fichiers (*.*)|*.*||</translation>
    </message>
    <message>
        <source>ini Files(*.ini)|*.ini|all Files(*.*)|*.*||</source>
        <translation>Fichiers INI (*.ini)|*.ini|Tous les fichiers (*.*)|*.*||</translation>
    </message>
    <message>
        <source>用法: %s [选项]
</source>
        <translation>Utilisation : %s [options]
</translation>
    </message>
    <message>
        <source>选项:
</source>
        <translation>Options :
</translation>
    </message>
    <message>
        <source>显示此帮助并退出</source>
        <translation>afficher cette aide et quitter</translation>
    </message>
    <message>
        <source>显示版本号并退出</source>
        <translation>afficher la version et quitter</translation>
    </message>
    <message>
        <source>使用内置的模拟设备代替 USB 设备</source>
        <translation>utiliser le périphérique simulé intégré au lieu du périphérique USB</translation>
    </message>
    <message>
        <source>计划</source>
        <translation>plan</translation>
    </message>
    <message>
        <source>模拟设备的故障计划（仅与 --simulate 一起使用）</source>
        <translation>plan de pannes du périphérique simulé (uniquement avec --simulate)</translation>
    </message>
    <message>
        <source>数量</source>
        <translation>nombre</translation>
    </message>
    <message>
        <source>模拟多台设备，端口为 sim-1 到 sim-N（仅与 --simulate 一起使用）</source>
        <translation>simuler plusieurs appareils, sur les ports sim-1 à sim-N (avec --simulate uniquement)</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>port</translation>
    </message>
    <message>
        <source>只使用该 USB 端口上的设备（端口见 tavlin-cli list）</source>
        <translation>travailler uniquement avec l'appareil sur ce port USB (voir tavlin-cli list pour les ports)</translation>
    </message>
    <message>
        <source>显示工程控制台</source>
        <translation>afficher la console d'ingénierie</translation>
    </message>
    <message>
        <source>文件夹</source>
        <translation>dossier</translation>
    </message>
    <message>
        <source>日志文件所在的文件夹（默认为当前目录；不存在时自动创建）</source>
        <translation>dossier du fichier journal (par défaut : le dossier courant ; créé s'il manque)</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>FICHIER</translation>
    </message>
    <message>
        <source>节奏</source>
        <translation>RYTHME</translation>
    </message>
    <message>
        <source>把与设备之间的每个报告和设备的插拔记录到文件</source>
        <translation>enregistrer dans un fichier chaque rapport échangé avec le périphérique, ainsi que ses branchements et débranchements</translation>
    </message>
    <message>
        <source>用记录的会话代替设备</source>
        <translation>rejouer une session enregistrée à la place du périphérique</translation>
    </message>
    <message>
        <source>recorded：保持记录的时间；immediate（默认）：立即应答</source>
        <translation>recorded : garder le rythme enregistré ; immediate (par défaut) : répondre aussitôt</translation>
    </message>
    <message>
        <source>打开标定检查，检查之前标定过的设备</source>
        <translation>ouvrir la vérification de l'étalonnage, pour une unité étalonnée auparavant</translation>
    </message>
    <message>
        <source>毫米</source>
        <translation>MM</translation>
    </message>
    <message>
        <source>标定检查的允许误差，单位毫米（默认 2.0）</source>
        <translation>tolérance de la vérification de l'étalonnage, en millimètres (2.0 par défaut)</translation>
    </message>
    <message>
        <source>选项 --check-tolerance 需要一个大于 0 且不超过 50 的毫米数: %s
</source>
        <translation>l'option --check-tolerance demande un nombre de millimètres supérieur à 0 et au plus 50 : %s
</translation>
    </message>
    <message>
        <source>未知选项: %s
</source>
        <translation>option inconnue : %s
</translation>
    </message>
    <message>
        <source>选项 %s 需要一个值
</source>
        <translation>l'option %s demande une valeur
</translation>
    </message>
    <message>
        <source>选项 %s 不接受值
</source>
        <translation>l'option %s n'accepte pas de valeur
</translation>
    </message>
    <message>
        <source>多余的参数: %s
</source>
        <translation>argument inattendu : %s
</translation>
    </message>
    <message>
        <source>可用的选项请见 --help。
</source>
        <translation>Voir --help pour les options.
</translation>
    </message>
    <message>
        <source>意外错误，运行已结束：%s</source>
        <translation>erreur inattendue, l'exécution est terminée : %s</translation>
    </message>
    <message>
        <source>标定已完成。按空格键检查标定，按Esc退出。
</source>
        <translation>Étalonnage terminé. Appuyez sur Espace pour vérifier l'étalonnage, sur Échap pour quitter.
</translation>
    </message>
    <message>
        <source>按空格键检查标定，按Esc退出。
</source>
        <translation>Appuyez sur Espace pour vérifier l'étalonnage, sur Échap pour quitter.
</translation>
    </message>
    <message>
        <source>请用触摸笔点击十字星中心（检查点 %d/%d）。按Esc退出。
</source>
        <translation>Touchez le centre de la croix avec le stylet (point de contrôle %d/%d). Appuyez sur Échap pour quitter.
</translation>
    </message>
    <message>
        <source>触摸位置离十字星太远，请重新点击（检查点 %d/%d）。
</source>
        <translation>Le contact était trop loin de la croix. Touchez-la de nouveau (point de contrôle %d/%d).
</translation>
    </message>
    <message>
        <source>屏幕太小，无法在距边缘至少10毫米处放置检查点。按Esc退出。
</source>
        <translation>L'écran est trop petit pour placer des points de contrôle à au moins 10 mm des bords. Appuyez sur Échap pour quitter.
</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>CONFORME</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>NON CONFORME</translation>
    </message>
    <message>
        <source>无法判定</source>
        <translation>SANS VERDICT</translation>
    </message>
    <message>
        <source>允许误差 %.1f 毫米，误差向量放大10倍显示。</source>
        <translation>Tolérance %.1f mm ; les vecteurs d'erreur sont tracés 10 fois plus longs.</translation>
    </message>
    <message>
        <source>系统未提供屏幕的物理尺寸，误差只能以像素表示。</source>
        <translation>Le système n'indique pas la taille physique de l'écran : erreurs en pixels seulement.</translation>
    </message>
    <message>
        <source>检查点</source>
        <translation>Point</translation>
    </message>
    <message>
        <source>误差（像素）</source>
        <translation>Erreur (px)</translation>
    </message>
    <message>
        <source>误差（毫米）</source>
        <translation>Erreur (mm)</translation>
    </message>
    <message>
        <source>输入</source>
        <translation>Saisie</translation>
    </message>
    <message>
        <source>触摸</source>
        <translation>tactile</translation>
    </message>
    <message>
        <source>鼠标</source>
        <translation>souris</translation>
    </message>
    <message>
        <source>接受</source>
        <translation>Accepter</translation>
    </message>
    <message>
        <source>重新检查</source>
        <translation>Vérifier de nouveau</translation>
    </message>
    <message>
        <source>重新标定</source>
        <translation>Étalonner de nouveau</translation>
    </message>
    <message>
        <source>对话框</source>
        <translation>Boîte de dialogue</translation>
    </message>
    <message>
        <source>标定初始化失败，请先退出 , 重新标定!
</source>
        <translation>L'initialisation de l'étalonnage a échoué. Quittez puis recommencez l'étalonnage !
</translation>
    </message>
    <message>
        <source>请用触摸笔垂直点击十字星中心，进行标定。
</source>
        <translation>Touchez verticalement le centre de la croix avec le stylet pour étalonner.
</translation>
    </message>
    <message>
        <source>设备已拔出,请按Esc退出。</source>
        <translation>L'appareil a été débranché. Appuyez sur Échap pour quitter.</translation>
    </message>
    <message>
        <source>标定已完成，请退出。
</source>
        <translation>Étalonnage terminé. Veuillez quitter.
</translation>
    </message>
    <message>
        <source>标定数据保存失败，请先退出，重新标定!
</source>
        <translation>L'enregistrement des données d'étalonnage a échoué. Quittez puis recommencez l'étalonnage !
</translation>
    </message>
    <message>
        <source>设备初始化失败，请退出然后重新进入。
</source>
        <translation>L'initialisation de l'appareil a échoué. Quittez puis rouvrez la fenêtre.
</translation>
    </message>
    <message>
        <source>正在初始化设备，请稍候......
</source>
        <translation>Initialisation de l'appareil, veuillez patienter......
</translation>
    </message>
    <message>
        <source>正在保存标定数据，请勿触摸屏幕…… %d%%
</source>
        <translation>Enregistrement des données d'étalonnage, ne touchez pas l'écran... %d%%
</translation>
    </message>
    <message>
        <source>应用固件</source>
        <translation>application</translation>
    </message>
    <message>
        <source>更新环境</source>
        <translation>mise à jour</translation>
    </message>
    <message>
        <source>连接了多台设备（端口：%s），请用 --device 指定其中一台</source>
        <translation>Plusieurs appareils sont connectés (ports : %s) ; choisissez-en un avec --device</translation>
    </message>
    <message>
        <source>--all 只能用于 versions、mode 和 update</source>
        <translation>--all ne fonctionne qu'avec versions, mode et update</translation>
    </message>
    <message>
        <source>--all 不能与 --device、--record 或 --replay 一起使用</source>
        <translation>--all ne peut pas être utilisé avec --device, --record ou --replay</translation>
    </message>
    <message>
        <source>[%s] 成功</source>
        <translation>[%s] réussi</translation>
    </message>
    <message>
        <source>[%s] 失败：%s</source>
        <translation>[%s] échec : %s</translation>
    </message>
    <message>
        <source>全部 %d 台设备成功</source>
        <translation>Les %d appareils ont réussi</translation>
    </message>
    <message>
        <source>%d 台设备中有 %d 台失败</source>
        <translation>%d appareils, %d en échec</translation>
    </message>
    <message>
        <source>无法为端口 %s 启动进程：%s</source>
        <translation>Impossible de lancer l'exécution pour le port %s : %s</translation>
    </message>
    <message>
        <source>进程结束时没有给出结果（退出状态 %d）</source>
        <translation>L'exécution s'est terminée sans résultat (code de sortie %d)</translation>
    </message>
    <message>
        <source>系统未给出该设备的 USB 端口，无法单独选择它</source>
        <translation>Le système n'indique pas le port USB de cet appareil ; il ne peut pas être choisi seul</translation>
    </message>
    <message>
        <source>寄存器地址不是数字！
</source>
        <translation>L'adresse du registre n'est pas un nombre !
</translation>
    </message>
    <message>
        <source>寄存器值不是数字！
</source>
        <translation>La valeur du registre n'est pas un nombre !
</translation>
    </message>
    <message>
        <source>预览未停止，下载未开始！
</source>
        <translation>L'aperçu ne s'est pas arrêté, téléchargement non démarré !
</translation>
    </message>
    <message>
        <source>另一个代码传输正在进行，请稍后再试！
</source>
        <translation>Un autre transfert de code est en cours, réessayez plus tard !
</translation>
    </message>
    <message>
        <source>正在准备环境，请稍候...
</source>
        <translation>Préparation de l'environnement, veuillez patienter...
</translation>
    </message>
    <message>
        <source>请先打开配置文件(.ini格式)!
</source>
        <translation>Ouvrez d'abord le fichier de configuration (.ini) !
</translation>
    </message>
    <message>
        <source>正在更新，请稍候!
</source>
        <translation>Mise à jour en cours, veuillez patienter !
</translation>
    </message>
    <message>
        <source>配置文件不正确，请重新打开!
</source>
        <translation>Le fichier de configuration est incorrect, ouvrez-le à nouveau !
</translation>
    </message>
    <message>
        <source>没有需要更新的固件，请退出!
</source>
        <translation>Aucun micrologiciel à mettre à jour, veuillez quitter !
</translation>
    </message>
    <message>
        <source>打开文件失败,请确认配置文件中的.bin文件在当前目录!
</source>
        <translation>Échec de l'ouverture du fichier ; vérifiez que le fichier .bin indiqué dans le fichier de configuration se trouve dans le répertoire courant !
</translation>
    </message>
    <message>
        <source>配置文件更新失败,请退出重试!
</source>
        <translation>La mise à jour depuis le fichier de configuration a échoué, quittez et réessayez !
</translation>
    </message>
    <message>
        <source>开始烧写配置文件,请稍候...
</source>
        <translation>L'écriture des images a commencé, veuillez patienter...
</translation>
    </message>
    <message>
        <source>固件更新成功，请退出!
</source>
        <translation>La mise à jour du micrologiciel a réussi, veuillez quitter !
</translation>
    </message>
    <message>
        <source>Write Tavlin Left HInfo %dKB Success!
</source>
        <translation>Écriture Tavlin Left HInfo %d Ko réussie !
</translation>
    </message>
    <message>
        <source>Write Tavlin Right HInfo %dKB Success!
</source>
        <translation>Écriture Tavlin Right HInfo %d Ko réussie !
</translation>
    </message>
    <message>
        <source>Write Tavlin Left LInfo %dKB Success!
</source>
        <translation>Écriture Tavlin Left LInfo %d Ko réussie !
</translation>
    </message>
    <message>
        <source>Write Tavlin Right RInfo %dKB Success!
</source>
        <translation>Écriture Tavlin Right RInfo %d Ko réussie !
</translation>
    </message>
    <message>
        <source>更新后的版本与配置文件不符: M--%08x, S--%08x
</source>
        <translation>Les versions après la mise à jour diffèrent du fichier de configuration : M--%08x, S--%08x
</translation>
    </message>
    <message>
        <source>切换模式</source>
        <translation>Changer de mode</translation>
    </message>
    <message>
        <source>更新进度   ：</source>
        <translation>Progression   :</translation>
    </message>
    <message>
        <source>配置文件...</source>
        <translation>Configuration...</translation>
    </message>
    <message>
        <source>一键更新</source>
        <translation>Mise à jour en un clic</translation>
    </message>
    <message>
        <source>更新IMAGE:</source>
        <translation>Mise à jour IMAGE :</translation>
    </message>
    <message>
        <source>更新 FPGA:</source>
        <translation>Mise à jour FPGA :</translation>
    </message>
    <message>
        <source>更新FPGA</source>
        <translation>Mettre à jour FPGA</translation>
    </message>
    <message>
        <source>读取IMAGE版本信息</source>
        <translation>Lire les infos de version IMAGE</translation>
    </message>
    <message>
        <source>更新IMAGE版本信息</source>
        <translation>Mettre à jour les infos de version IMAGE</translation>
    </message>
    <message>
        <source>读取FPGA版本信息</source>
        <translation>Lire les infos de version FPGA</translation>
    </message>
    <message>
        <source>更新FPGA版本信息</source>
        <translation>Mettre à jour les infos de version FPGA</translation>
    </message>
    <message>
        <source>起始行</source>
        <translation>Ligne de départ</translation>
    </message>
    <message>
        <source>角度</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>曝光</source>
        <translation>Exposition</translation>
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
        <translation>Régler l'exposition</translation>
    </message>
    <message>
        <source>行首向左</source>
        <translation>Début de ligne à gauche</translation>
    </message>
    <message>
        <source>行首向右</source>
        <translation>Début de ligne à droite</translation>
    </message>
    <message>
        <source>行尾向左</source>
        <translation>Fin de ligne à gauche</translation>
    </message>
    <message>
        <source>行尾向右</source>
        <translation>Fin de ligne à droite</translation>
    </message>
    <message>
        <source>保存信息</source>
        <translation>Enregistrer les informations</translation>
    </message>
    <message>
        <source>预览图像缓冲区不可用，无法打开调平窗口。
</source>
        <translation>Les tampons d'image d'aperçu ne sont pas disponibles ; la fenêtre de nivellement ne peut pas s'ouvrir.
</translation>
    </message>
    <message>
        <source>记录文件在第 %d 行用完</source>
        <translation>l'enregistrement s'est épuisé à la ligne %d</translation>
    </message>
    <message>
        <source>无法读取记录文件 %s</source>
        <translation>impossible de lire l'enregistrement %s</translation>
    </message>
    <message>
        <source>记录文件 %s 不是普通文件</source>
        <translation>l'enregistrement %s n'est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>记录文件 %s 的格式或版本未知（只支持 tavlin-trace 第 1 版）</source>
        <translation>l'enregistrement %s a un format ou une version inconnus (seule la version 1 de tavlin-trace est prise en charge)</translation>
    </message>
    <message>
        <source>记录文件 %s 的第 %d 行无法解析</source>
        <translation>l'enregistrement %s : la ligne %d est illisible</translation>
    </message>
    <message>
        <source>无法创建记录文件 %s</source>
        <translation>impossible de créer l'enregistrement %s</translation>
    </message>
    <message>
        <source>回放未完成：记录中还有 %d 个输出报告未发送</source>
        <translation>la relecture s'est arrêtée trop tôt : %d rapports de sortie de l'enregistrement n'ont jamais été envoyés</translation>
    </message>
    <message>
        <source>记录文件 %s 不完整：记录在运行结束前中断</source>
        <translation>l'enregistrement %s est incomplet : il s'est arrêté avant la fin de l'exécution</translation>
    </message>
    <message>
        <source>--replay-pace 只接受 recorded 或 immediate</source>
        <translation>--replay-pace accepte recorded ou immediate</translation>
    </message>
    <message>
        <source>--replay 不能与 --simulate 或 --record 一起使用</source>
        <translation>--replay ne peut pas être utilisé avec --simulate ou --record</translation>
    </message>
</context>
</TS>
