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
        <source>Download</source>
        <translation>Téléchargement</translation>
    </message>
    <message>
        <source>Script</source>
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
</context>
</TS>
