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
        <source>运行记录</source>
        <translation>Enregistrements</translation>
    </message>
    <message>
        <source>端口：</source>
        <translation>Port :</translation>
    </message>
    <message>
        <source>全部端口</source>
        <translation>Tous les ports</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>port</translation>
    </message>
    <message>
        <source>命令</source>
        <translation>Commande</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Résultat</translation>
    </message>
    <message>
        <source>退出状态</source>
        <translation>Sortie</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Opérateur</translation>
    </message>
    <message>
        <source>批次</source>
        <translation>Lot</translation>
    </message>
    <message>
        <source>运行后的版本</source>
        <translation>Versions après</translation>
    </message>
    <message>
        <source>无法读取运行记录数据库 %s：%s</source>
        <translation>impossible de lire la base des enregistrements %s : %s</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>日志文件 %s 不是普通文件</source>
        <translation>Le fichier journal %s n'est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>%s 不是普通文件</source>
        <translation>%s n'est pas un fichier ordinaire</translation>
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
        <source>系统未提供屏幕的物理尺寸，无法以毫米判定。请输入屏幕显示区域的宽和高（毫米，例如 527x296）后按回车；直接按回车则只以像素检查。按Esc退出。
</source>
        <translation>Le système ne donne pas la taille physique de cet écran : aucun verdict en millimètres n'est possible. Tapez la largeur et la hauteur de la zone d'affichage en millimètres (par exemple 527x296) puis appuyez sur Entrée ; Entrée seule vérifie en pixels uniquement. Appuyez sur Esc pour quitter.
</translation>
    </message>
    <message>
        <source>“%s”不是以毫米表示的屏幕尺寸。
</source>
        <translation>« %s » n'est pas une taille d'écran en millimètres.
</translation>
    </message>
    <message>
        <source>标定检查所用的屏幕尺寸，单位毫米（例如 527x296），优先于显示器报告的尺寸</source>
        <translation>taille de l'écran en millimètres pour la vérification de l'étalonnage (par exemple 527x296), prioritaire sur celle du moniteur</translation>
    </message>
    <message>
        <source>宽x高</source>
        <translation>LxH</translation>
    </message>
    <message>
        <source>选项 --screen-size 需要以毫米表示的宽和高，例如 527x296: %s
</source>
        <translation>l'option --screen-size demande une largeur et une hauteur en millimètres, par exemple 527x296 : %s
</translation>
    </message>
    <message>
        <source>进程被 %s 终止</source>
        <translation>le processus a été arrêté par %s</translation>
    </message>
    <message>
        <source>进程报告成功，但以退出状态 %d 结束</source>
        <translation>le processus a signalé un succès mais s'est terminé avec le code de sortie %d</translation>
    </message>
    <message>
        <source>此版本的 tavlin-cli 不能保存图片（--png）</source>
        <translation>Cette version de tavlin-cli ne peut pas enregistrer d'images (--png)</translation>
    </message>
    <message>
        <source>无法写入 %s：%s</source>
        <translation>Impossible d'écrire %s : %s</translation>
    </message>
    <message>
        <source>运行记录未能保存到 %s：%s</source>
        <translation>l'enregistrement de l'exécution n'a pas pu être conservé dans %s : %s</translation>
    </message>
    <message>
        <source>results：未知或不完整的选项 '%s'</source>
        <translation>results : option inconnue ou incomplète '%s'</translation>
    </message>
    <message>
        <source>--last 只接受从 1 开始的数量，而不是 '%s'</source>
        <translation>--last attend un nombre à partir de 1, pas '%s'</translation>
    </message>
    <message>
        <source>--since 需要日期（YYYY-MM-DD），而不是 '%s'</source>
        <translation>--since attend une date (YYYY-MM-DD), pas '%s'</translation>
    </message>
    <message>
        <source>已导出 %d 条运行记录到 %s</source>
        <translation>%d enregistrements d'exécution exportés vers %s</translation>
    </message>
    <message>
        <source>无法写入 %s</source>
        <translation>impossible d'écrire %s</translation>
    </message>
    <message>
        <source>运行记录已关闭（--results none）</source>
        <translation>les enregistrements d'exécution sont désactivés (--results none)</translation>
    </message>
    <message>
        <source>没有运行记录数据库 %s</source>
        <translation>il n'y a pas de base d'enregistrements d'exécution %s</translation>
    </message>
    <message>
        <source>此版本不保存运行记录</source>
        <translation>cette version ne conserve pas d'enregistrements d'exécution</translation>
    </message>
    <message>
        <source>运行记录未能上传到 %s：%s（%d 条记录等待下次上传）</source>
        <translation>les enregistrements d'exécution n'ont pas pu être envoyés à %s : %s (%d enregistrements attendent le prochain envoi)</translation>
    </message>
    <message>
        <source>已上传 %d 条运行记录到 %s</source>
        <translation>%d enregistrements d'exécution envoyés à %s</translation>
    </message>
    <message>
        <source>没有等待上传的运行记录</source>
        <translation>aucun enregistrement d'exécution n'attend d'être envoyé</translation>
    </message>
    <message>
        <source>没有给出产线服务器（--results-server URL 或环境变量 TAVLIN_RESULTS_SERVER）</source>
        <translation>aucun serveur de ligne indiqué (--results-server URL ou la variable d'environnement TAVLIN_RESULTS_SERVER)</translation>
    </message>
    <message>
        <source>无法读取产线服务器的地址（libpq 连接字符串或 URI）</source>
        <translation>l'adresse du serveur de ligne est illisible (chaîne de connexion libpq ou URI)</translation>
    </message>
    <message>
        <source>此版本不上传运行记录</source>
        <translation>cette version n'envoie pas les enregistrements d'exécution</translation>
    </message>
    <message>
        <source>继续该设备未完成的更新：%s</source>
        <translation>reprise de la mise à jour inachevée de cette unité : %s</translation>
    </message>
    <message>
        <source>端口 %s 上的设备没有未完成的更新可继续</source>
        <translation>l'unité sur le port %s n'a aucune mise à jour inachevée à reprendre</translation>
    </message>
    <message>
        <source>--resume 需要运行记录（不能与 --results none 一起使用）</source>
        <translation>--resume a besoin des enregistrements d'exécution (pas avec --results none)</translation>
    </message>
    <message>
        <source>请在 %s 中运行 update --resume：更新包的映像文件名相对于该文件夹</source>
        <translation>lancez update --resume dans %s : le paquet nomme ses images par rapport à ce dossier</translation>
    </message>
    <message>
        <source>更新包自上次更新以来已更改，不予继续：%s</source>
        <translation>le paquet a changé depuis la dernière mise à jour, elle n'est donc pas reprise : %s</translation>
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
        <source>用法:
</source>
        <translation>utilisation :
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
        <translation>Exécute une opération sur l'appareil avec les mêmes tâches, le même fil de commandes,
la même détection et le même journal (Tavlin_log.txt dans le dossier courant) que la
fenêtre Tavlin.

commandes :
  list                     liste les appareils branchés, un par ligne : port USB,
                           identifiant de produit, micrologiciel d'application ou
                           environnement de mise à jour, chemin système (code de
                           sortie 3 : aucun)
  detect                   détecte l'appareil ; affiche le texte d'état
  mode work                passe l'appareil en mode de travail
  mode calibration         passe l'appareil en mode d'étalonnage (puis affiche les
                           versions des images, comme le bouton de la fenêtre)
  versions                 lit et affiche les versions des images des deux capteurs
  read [--i2c] ADDR        lit un registre ; ADDR lu comme le panneau Step Debug
                           (préfixe 0x : hexadécimal, sinon décimal ; les bits 24-25
                           choisissent l'espace des registres, le bit 28 le capteur
                           Slave)
  write [--i2c] ADDR VALUE écrit un registre (l'octet de poids faible de VALUE)
  script FILE              exécute un script de registres
  fpga FILE                télécharge le code FPGA (barre de progression sur un
                           terminal)
  update PACKAGE [--replug-timeout SECONDS] [--verify]
                           met à jour les images du micrologiciel nommées par le
                           fichier de paquet, comme l'outil de la fenêtre :
                           l'appareil redémarre dans son environnement de mise à
                           jour (attendu jusqu'à SECONDS, 20 par défaut), les images
                           sont écrites, l'appareil est renvoyé ; --verify compare
                           ensuite les versions qu'il annonce avec le paquet
  level [--frames N] [--exposure] [--png DIR]
                           met à niveau les modules optiques : recherche, N cycles
                           d'aperçu (1 par défaut), l'exposition avec --exposure
                           (sortie ensuite par OK, mode 0xEE ; sinon par Annuler,
                           mode de travail), et les deux images dans DIR/master.png
                           et DIR/slave.png (DIR est créé d'abord) ; chaque ligne
                           d'état commence par le nom de son capteur
  layout WxH               affiche les quinze cibles d'étalonnage d'un écran W x H,
                           une par ligne : numéro, x, y, code de cible (sans
                           appareil)
  calibrate [--screen WxH] [--target-limit SECONDS]
                           étalonne le toucher pour un écran W x H (1920x1080 par
                           défaut) : affiche les consignes et chaque cible quand le
                           réticule s'y déplace, et le pourcentage d'enregistrement
                           une fois par valeur (une ligne redessinée sur place sur
                           un terminal) ; code 0 une fois terminé ; une cible sans
                           mesure valide pendant SECONDS (30 par défaut) y met fin
                           (code 1), de même qu'un appareil parti, même revenu
  results [--last N] [--port PORT] [--since YYYY-MM-DD]
                           liste les dernières exécutions de la base d'enregistrements
                           (20 par défaut), une ligne chacune
  results export [--csv] FILE
                           exporte les enregistrements dans un fichier JSON (--csv : CSV,
                           une ligne par mesure)

--i2c envoie la requête du capteur (I2C) au lieu de celle du FPGA, comme la case Sensor.
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
Paquets (sans appareil) :
  package manifest PACKAGE écrit PACKAGE.sha256 : le SHA-256 du fichier de paquet et des
                           images qu'il nomme (à signer avec minisign -Sm PACKAGE.sha256)
  package verify PACKAGE   vérifie la signature et les hachages du paquet, affiche la clé
                           de signature et le commentaire de confiance (échec : code 1)
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
mises à jour interrompues :
  update --resume [--replug-timeout SECONDS] [--verify]
                           met à jour l'unité à nouveau, entièrement, avec le
                           paquet de la dernière mise à jour inachevée sur son
                           port, tel que les enregistrements le gardent (hachages
                           et signature de ses fichiers vérifiés d'abord)
</translation>
    </message>
    <message>
        <source>update --resume 不接受固件包文件：它使用记录中的固件包</source>
        <translation>update --resume n'accepte pas de fichier de paquet : il prend celui enregistré</translation>
    </message>
    <message>
        <source>'package' 需要 manifest 或 verify 以及一个固件包文件</source>
        <translation>'package' attend manifest ou verify et un fichier de paquet</translation>
    </message>
    <message>
        <source>选项的值不能为空。

退出状态: 0 成功，1 操作失败，2 用法错误，3 没有设备，
</source>
        <translation>La valeur d'une option ne peut pas être vide.

codes de sortie : 0 succès, 1 l'opération a échoué, 2 erreur d'utilisation, 3 aucun appareil,
</translation>
    </message>
    <message>
        <source>4 设备存在但当前用户无权打开（请安装软件包的 udev 规则，然后重新插拔设备）
</source>
        <translation>4 l'appareil est là mais cet utilisateur ne peut pas l'ouvrir (installez les règles
udev du paquet, puis rebranchez l'appareil)
</translation>
    </message>
    <message>
        <source>4 设备存在但无法打开（请关闭正在使用它的其他程序，或申请打开它的权限）
</source>
        <translation>4 l'appareil est là mais ne peut pas être ouvert (fermez l'autre programme qui
l'utilise, ou demandez le droit de l'ouvrir)
</translation>
    </message>
    <message>
        <source>%s（见 --help）</source>
        <translation>%s (voir --help)</translation>
    </message>
    <message>
        <source>没有给出命令</source>
        <translation>aucune commande donnée</translation>
    </message>
    <message>
        <source>未知命令 '%s'</source>
        <translation>commande inconnue '%s'</translation>
    </message>
    <message>
        <source>'%s' 的参数为空</source>
        <translation>'%s' a reçu un argument vide</translation>
    </message>
    <message>
        <source>'%s' 不接受参数</source>
        <translation>'%s' ne prend pas d'argument</translation>
    </message>
    <message>
        <source>'%s' 需要 1 个参数</source>
        <translation>'%s' prend 1 argument</translation>
    </message>
    <message>
        <source>'%s' 需要 %d 个参数</source>
        <translation>'%s' prend %d arguments</translation>
    </message>
    <message>
        <source>mode 只能是 'work' 或 'calibration'，而不是 '%s'</source>
        <translation>mode vaut 'work' ou 'calibration', pas '%s'</translation>
    </message>
    <message>
        <source>'%s' 不是寄存器地址</source>
        <translation>'%s' n'est pas une adresse de registre</translation>
    </message>
    <message>
        <source>--replug-timeout 只接受 1 到 3600 的秒数</source>
        <translation>--replug-timeout attend un nombre de secondes de 1 à 3600</translation>
    </message>
    <message>
        <source>'update' 不接受参数 '%s'</source>
        <translation>argument inattendu '%s' pour 'update'</translation>
    </message>
    <message>
        <source>'update' 需要一个固件包文件</source>
        <translation>'update' attend un fichier de paquet</translation>
    </message>
    <message>
        <source>--frames 只接受从 1 开始的周期数，而不是 '%s'</source>
        <translation>--frames attend un nombre de cycles à partir de 1, pas '%s'</translation>
    </message>
    <message>
        <source>level：未知或不完整的选项 '%s'</source>
        <translation>level : option inconnue ou incomplète '%s'</translation>
    </message>
    <message>
        <source>'layout' 需要 1 个参数（WxH）</source>
        <translation>'layout' prend 1 argument (WxH)</translation>
    </message>
    <message>
        <source>'calibrate' 只接受 --screen WxH 和 --target-limit SECONDS</source>
        <translation>'calibrate' ne prend que --screen WxH et --target-limit SECONDS</translation>
    </message>
    <message>
        <source>'%s' 不是 1 到 3600 的秒数</source>
        <translation>'%s' n'est pas un nombre de secondes de 1 à 3600</translation>
    </message>
    <message>
        <source>'%s' 不是屏幕尺寸（例如 1920x1080）</source>
        <translation>'%s' n'est pas une taille d'écran comme 1920x1080</translation>
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
        <source>脚本第 %d 行：未知命令 '%s'
</source>
        <translation>Ligne %d du script : commande inconnue '%s'
</translation>
    </message>
    <message>
        <source>脚本第 %d 行：操作数 '%s' 不是数字
</source>
        <translation>Ligne %d du script : l'opérande '%s' n'est pas un nombre
</translation>
    </message>
    <message>
        <source>脚本第 %d 行：操作数 '%s' 是负数
</source>
        <translation>Ligne %d du script : l'opérande '%s' est négatif
</translation>
    </message>
    <message>
        <source>脚本未运行，没有向设备发送任何命令：请先改正以上各行。
</source>
        <translation>Le script n'a pas été exécuté et rien n'a été envoyé à l'appareil : corrigez d'abord les lignes ci-dessus.
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
        <source>固件包校验失败: %s
</source>
        <translation>Le paquet n'a pas passé la vérification : %s
</translation>
    </message>
    <message>
        <source>本工位只接受签名的固件包: %s
</source>
        <translation>Ce poste n'accepte que des paquets signés : %s
</translation>
    </message>
    <message>
        <source>警告: 固件包 %s 没有签名
</source>
        <translation>Avertissement : le paquet %s n'est pas signé
</translation>
    </message>
    <message>
        <source>签名密钥 %s: %s</source>
        <translation>Signé par la clé %s : %s</translation>
    </message>
    <message>
        <source>未签名</source>
        <translation>non signé</translation>
    </message>
    <message>
        <source>固件包校验通过: 签名密钥 %s, 可信注释: %s
</source>
        <translation>Paquet vérifié : signé par la clé %s, commentaire de confiance : %s
</translation>
    </message>
    <message>
        <source>已写入 %s
</source>
        <translation>%s écrit
</translation>
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
        <source>连接了多台设备（端口：%s），请用 --device 指定其中一台</source>
        <translation>Plusieurs appareils sont connectés (ports : %s) ; choisissez-en un avec --device</translation>
    </message>
    <message>
        <source>端口 %s 上没有设备（已连接的设备在端口：%s）</source>
        <translation>aucun appareil sur le port %s (appareils branchés sur les ports %s)</translation>
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
        <source>把模拟设备的闪存（映像、版本、模式）保存在文件中，供以后的运行使用（仅与 --simulate 一起使用）</source>
        <translation>garder la mémoire flash de l'appareil simulé (images, versions, mode) dans un fichier pour les exécutions suivantes (avec --simulate seulement)</translation>
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
        <source>每次设备运行的记录写入该 SQLite 数据库（默认：日志文件夹中的 Tavlin_results.sqlite；none：不保存）</source>
        <translation>conserver l'enregistrement de chaque exécution sur l'appareil dans cette base SQLite (par défaut : Tavlin_results.sqlite dans le dossier du journal ; none : aucun)</translation>
    </message>
    <message>
        <source>每次运行后把运行记录上传到产线的 PostgreSQL 服务器（libpq 连接字符串；未给出时读取 TAVLIN_RESULTS_SERVER）</source>
        <translation>après chaque exécution, envoyer les enregistrements au serveur PostgreSQL de la ligne (chaîne de connexion libpq ; sinon TAVLIN_RESULTS_SERVER)</translation>
    </message>
    <message>
        <source>把操作员写入运行记录</source>
        <translation>inscrire l'opérateur dans les enregistrements d'exécution</translation>
    </message>
    <message>
        <source>把批次写入运行记录</source>
        <translation>inscrire le lot dans les enregistrements d'exécution</translation>
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
        <source>--log-dir 需要一个文件夹</source>
        <translation>--log-dir attend un dossier</translation>
    </message>
    <message>
        <source>--device 需要一个 USB 端口（见 tavlin-cli list）</source>
        <translation>--device attend un port USB (voir tavlin-cli list)</translation>
    </message>
    <message>
        <source>--simulate 使用内置的模拟设备代替 USB 设备；
</source>
        <translation>--simulate utilise l'appareil simulé intégré au lieu de l'appareil USB ;
</translation>
    </message>
    <message>
        <source>--sim-devices N 在端口 sim-1 到 sim-N 上模拟 N 台设备。
</source>
        <translation>--sim-devices N simule N appareils sur les ports sim-1 à sim-N.
</translation>
    </message>
    <message>
        <source>--sim-state FILE 把模拟设备的闪存（映像、版本、模式）保存在 FILE 中，供以后的运行使用；
不是这种文件或已损坏的 FILE 会被拒绝（退出状态 2）并保持原样。
</source>
        <translation>--sim-state FILE garde la mémoire flash de l'appareil simulé (images, versions, mode) dans
FILE pour les exécutions suivantes ; un FILE qui n'en est pas un, ou qui est endommagé, est
refusé (code 2) et laissé tel quel.
</translation>
    </message>
    <message>
        <source>--device PORT 只使用该 USB 端口上的设备（见 list），并在该端口上跟随它的重启。
没有此选项时，连接了多台设备的运行会拒绝选择（退出状态 2）。
</source>
        <translation>--device PORT ne travaille qu'avec l'appareil de ce port USB (voir list), et le suit
lors de ses redémarrages sur ce port. Sans lui, une exécution refuse de choisir quand
plusieurs appareils sont branchés (code 2).
</translation>
    </message>
    <message>
        <source>--all 同时在每台连接的设备上执行 versions、mode 或 update，每台设备一个进程，
各自把日志写入自己的文件夹 DIR/PORT（DIR 来自 --log-dir，否则为当前文件夹）；
只有每台设备都成功时退出状态才为 0。
</source>
        <translation>--all exécute versions, mode ou update sur tous les appareils branchés à la fois, un
processus par appareil, chacun écrivant son journal dans son propre dossier DIR/PORT
(DIR de --log-dir, sinon le dossier courant) ; code 0 seulement si tous ont réussi.
</translation>
    </message>
    <message>
        <source>--json 在运行结束时在 stdout 上输出一行 JSON 对象（command、exit、result、
interrupted、reason、messages、device、log、elapsed_ms、tool_version 以及命令
的结果）；给人看的文字则输出到 stderr。
</source>
        <translation>--json termine l'exécution par un objet JSON sur une ligne sur stdout (command, exit,
result, interrupted, reason, messages, device, log, elapsed_ms, tool_version, et ce
que la commande a produit) ; les textes pour les personnes vont alors sur stderr.
</translation>
    </message>
    <message>
        <source>--log-dir DIR 把日志写入 DIR（不存在时创建；无法写入的文件夹立即以退出状态 2
结束运行）。
</source>
        <translation>--log-dir DIR écrit le journal dans DIR (créé s'il manque ; un dossier où l'on ne peut
pas écrire termine aussitôt l'exécution avec le code 2).
</translation>
    </message>
    <message>
        <source>--record FILE 把与设备之间的每个报告以及设备的插拔写入 FILE（JSON 行，见 README）。
</source>
        <translation>--record FILE écrit chaque rapport vers et depuis l'appareil, ainsi que ses arrivées et
départs, dans FILE (lignes JSON, voir le README).
</translation>
    </message>
    <message>
        <source>--replay FILE 用这样的记录代替设备回放；第一个与记录不同的输出报告使命令失败。
--replay-pace recorded 保持记录的时间（默认：立即应答），只能与 --replay 一起使用。
</source>
        <translation>--replay FILE rejoue un tel enregistrement à la place de l'appareil ; le premier rapport
de sortie différent de l'enregistré fait échouer la commande. --replay-pace recorded
garde le rythme enregistré (par défaut : réponses immédiates) ; il exige --replay.
</translation>
    </message>
    <message>
        <source>--version 打印程序的版本并结束。
</source>
        <translation>--version affiche la version du programme et termine.
</translation>
    </message>
    <message>
        <source>--results FILE 把每次设备运行的记录写入 SQLite 数据库 FILE（默认：日志文件夹中的
Tavlin_results.sqlite；none 表示不保存记录）；记录在输出结果之前写入。
</source>
        <translation>--results FILE conserve l'enregistrement de chaque exécution sur un appareil dans la
base SQLite FILE (par défaut : Tavlin_results.sqlite dans le dossier du journal ; none
n'en conserve aucun) ; l'enregistrement est écrit avant que le résultat soit donné.
</translation>
    </message>
    <message>
        <source>--results-server URL 把运行记录上传到产线的 PostgreSQL 服务器（libpq 连接字符串或
URI；未给出时读取环境变量 TAVLIN_RESULTS_SERVER；密码来自 libpq 的密码文件或
PGPASSWORD）：每次设备运行输出结果后最多尝试几秒，不影响退出状态；
results upload 发送所有等待上传的记录（全部发送：退出状态 0）。
</source>
        <translation>--results-server URL envoie les enregistrements d'exécution au serveur PostgreSQL de la
ligne (chaîne de connexion libpq ou URI ; sans elle, la variable d'environnement
TAVLIN_RESULTS_SERVER ; le mot de passe vient du fichier de mots de passe de libpq ou de
PGPASSWORD) : après le résultat de chaque exécution sur un appareil, quelques secondes
au plus, sans jamais changer le code de sortie ; results upload envoie tous les
enregistrements en attente (code de sortie 0 quand tous sont partis).
</translation>
    </message>
    <message>
        <source>--operator NAME 把操作员写入运行记录。
</source>
        <translation>--operator NAME inscrit l'opérateur dans l'enregistrement de l'exécution.
</translation>
    </message>
    <message>
        <source>--lot LOT 把批次写入运行记录。
</source>
        <translation>--lot LOT inscrit le lot dans l'enregistrement de l'exécution.
</translation>
    </message>
    <message>
        <source>--require-record 运行记录未能保存时，运行以退出状态 1 结束。
</source>
        <translation>--require-record termine avec le code 1 une exécution dont l'enregistrement n'a pas pu
être conservé.
</translation>
    </message>
    <message>
        <source>信任该公钥文件的密钥签名的固件包（可多次给出）</source>
        <translation>faire confiance aux paquets signés par la clé de ce fichier de clé publique (peut être répété)</translation>
    </message>
    <message>
        <source>拒绝没有签名的固件包</source>
        <translation>refuser les paquets non signés</translation>
    </message>
    <message>
        <source>--trusted-key FILE 信任 FILE（minisign 公钥文件）的密钥签名的固件包；可多次给出。
密钥文件夹中的每个 *.pub 也受信任（见 README）。
</source>
        <translation>--trusted-key FILE fait confiance aux paquets signés par la clé de FILE (fichier de clé
publique minisign) ; peut être répété. Chaque *.pub du dossier des clés l'est aussi (voir le README).
</translation>
    </message>
    <message>
        <source>--require-signed 拒绝没有签名的固件包（密钥文件夹中有 require-signed 文件时也如此）。
</source>
        <translation>--require-signed refuse les paquets non signés (de même qu'un fichier require-signed dans le dossier des clés).
</translation>
    </message>
    <message>
        <source>值</source>
        <translation>valeur</translation>
    </message>
    <message>
        <source>选项 %s 的值为空</source>
        <translation>l'option %s a reçu une valeur vide</translation>
    </message>
    <message>
        <source>选项 %s 缺少值</source>
        <translation>l'option %s attend une valeur</translation>
    </message>
    <message>
        <source>--sim-faults 需要 --simulate</source>
        <translation>--sim-faults exige --simulate</translation>
    </message>
    <message>
        <source>--sim-devices 需要 --simulate</source>
        <translation>--sim-devices exige --simulate</translation>
    </message>
    <message>
        <source>--sim-devices 只接受 1 到 %d 的设备数量</source>
        <translation>--sim-devices attend un nombre d'appareils de 1 à %d</translation>
    </message>
    <message>
        <source>--replay-pace 只能与 --replay 一起使用</source>
        <translation>--replay-pace exige --replay</translation>
    </message>
    <message>
        <source>--sim-state 需要 --simulate</source>
        <translation>--sim-state exige --simulate</translation>
    </message>
    <message>
        <source>--sim-state 只能用于一台模拟设备</source>
        <translation>--sim-state ne fonctionne qu'avec un seul appareil simulé</translation>
    </message>
    <message>
        <source>%s 不是模拟设备的状态文件，已保持原样</source>
        <translation>%s n'est pas un fichier d'état de l'appareil simulé ; il a été laissé tel quel</translation>
    </message>
    <message>
        <source>模拟设备的状态文件 %s 已损坏（%s），已保持原样</source>
        <translation>le fichier d'état de l'appareil simulé %s est endommagé (%s) ; il a été laissé tel quel</translation>
    </message>
    <message>
        <source>模拟设备的状态文件 %s 是较新的程序写的（%s），已保持原样</source>
        <translation>le fichier d'état de l'appareil simulé %s a été écrit par un programme plus récent (%s) ; il a été laissé tel quel</translation>
    </message>
    <message>
        <source>无法读取模拟设备的状态文件 %s（%s）</source>
        <translation>impossible de lire le fichier d'état de l'appareil simulé %s (%s)</translation>
    </message>
    <message>
        <source>无法写入模拟设备的状态文件 %s（%s）</source>
        <translation>impossible d'écrire le fichier d'état de l'appareil simulé %s (%s)</translation>
    </message>
    <message>
        <source>该设备上次更新停止于 %s，第 %d 个映像（共 %d 个）</source>
        <translation>la dernière mise à jour de cette unité s'est arrêtée à %s, image %d sur %d</translation>
    </message>
    <message>
        <source>该设备上次更新停止于重启进入更新环境时</source>
        <translation>la dernière mise à jour de cette unité s'est arrêtée pendant son redémarrage vers son environnement de mise à jour</translation>
    </message>
    <message>
        <source>该设备上次更新停止于重启离开更新环境时</source>
        <translation>la dernière mise à jour de cette unité s'est arrêtée pendant son redémarrage hors de son environnement de mise à jour</translation>
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
